#include "core/servers/ServerForm.h"

#include "core/config/RegConfig.h"

#include <charconv>

namespace {

constexpr unsigned long kMaxPort = 65535;

FormProblem Problem(int stringId, FormField focus)
{
    return {LangText::Id(stringId), focus};
}

bool TooLong(const std::string& text)
{
    return text.size() > CRegConfig::kMaxTextBytes;
}

enum class PortEntry { Missing, Zero, TooLarge, Valid };

// Anything but decimal digits counts as no port at all.
PortEntry ParsePort(const std::string& text, unsigned long& port)
{
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, port);
    if (text.empty() || stop != end || error == std::errc::invalid_argument)
        return PortEntry::Missing;
    if (error == std::errc::result_out_of_range || port > kMaxPort)
        return PortEntry::TooLarge;
    return port == 0 ? PortEntry::Zero : PortEntry::Valid;
}

} // namespace

std::variant<ServerRecord, FormProblem> CheckServerForm(const ServerForm& form)
{
    if (form.name.empty())
        return Problem(6007, FormField::ServerName);
    if (!ServerDirectory::IsValidName(form.name))
        return Problem(kStrNameNotStorable, FormField::ServerName);
    if (form.dvrType.empty())
        return Problem(6008, FormField::DvrType);
    if (form.password.empty())
        return Problem(6009, FormField::Password);
    if (form.ip.empty())
        return Problem(6010, FormField::IpAddress);
    unsigned long port = 0;
    PortEntry portText = ParsePort(form.port, port);
    if (portText == PortEntry::Missing || portText == PortEntry::Zero)
        return Problem(6011, FormField::Port);
    if (portText == PortEntry::TooLarge)
        return Problem(kStrPortOutOfRange, FormField::Port);
    if (form.protocol.empty())
        return Problem(6012, FormField::None);
    if (TooLong(form.password))
        return Problem(kStrPasswordTooLong, FormField::Password);
    if (TooLong(form.ip))
        return Problem(kStrAddressTooLong, FormField::IpAddress);
    if (TooLong(form.dvrType) || TooLong(form.account) || TooLong(form.protocol) || TooLong(form.ddns))
        return Problem(kStrSettingTooLong, FormField::None);

    ServerRecord record;
    record.name = form.name;
    record.ip = form.ip;
    record.port = static_cast<std::uint32_t>(port);
    record.account = form.account;
    record.password = form.password;
    record.dvrType = form.dvrType;
    record.protocol = form.protocol;
    record.ddns = form.ddns;
    return record;
}
