#include "core/setup/NetworkPageRules.h"

#include <algorithm>

#include "core/dvr/FixedText.h"
#include "core/setup/SystemPageRules.h"

namespace {

constexpr int kDefaultPort = 7050;

template <std::size_t N>
void StoreText(char (&field)[N], const std::string& text)
{
    WriteFixedText(field, TrimText(text));
}

std::array<std::uint8_t, 4> Quad(const std::uint8_t (&bytes)[4])
{
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

} // namespace

NetworkPageFields FillNetworkPage(const DvrNetworkSection& s)
{
    NetworkPageFields f;
    const unsigned mask = s.eventMailMask.get();
    const bool all = (mask & 1u) != 0;
    for (int k = 0; k < NetworkPageFields::kEventButtons; ++k)
        f.events[static_cast<std::size_t>(k)] = all || ((mask >> k) & 1u) != 0;
    f.port = s.port.get();
    f.addresses = {Quad(s.ipAddress), Quad(s.gateway), Quad(s.subnetMask), Quad(s.dnsServer), Quad(s.smtpServer)};
    f.mailServerId = ReadFixedText(s.mailServerId);
    f.mailServerPassword = ReadFixedText(s.mailServerPassword);
    f.dvrName = ReadFixedText(s.dvrName);
    f.mailSender = ReadFixedText(s.mailSender);
    f.mailReceiver = ReadFixedText(s.mailReceiver);
    f.confirmPosition = s.mailServerConfirm == 1 ? 1 : 0;
    return f;
}

void StoreNetworkPage(const NetworkPageFields& f, DvrNetworkSection& s)
{
    unsigned mask = 0;
    for (int k = 0; k < NetworkPageFields::kEventButtons; ++k)
        if (f.events[static_cast<std::size_t>(k)])
            mask |= 1u << k;
    s.eventMailMask.set(static_cast<std::uint16_t>(mask));
    s.port.set(static_cast<std::uint16_t>(std::clamp(f.port, 0, 65535)));
    std::uint8_t* targets[] = {s.ipAddress, s.gateway, s.subnetMask, s.dnsServer, s.smtpServer};
    for (std::size_t i = 0; i < f.addresses.size(); ++i)
        std::copy(f.addresses[i].begin(), f.addresses[i].end(), targets[i]);
    StoreText(s.mailServerId, f.mailServerId);
    StoreText(s.mailServerPassword, f.mailServerPassword);
    StoreText(s.dvrName, f.dvrName);
    StoreText(s.mailSender, f.mailSender);
    StoreText(s.mailReceiver, f.mailReceiver);
    s.mailServerConfirm = static_cast<std::uint8_t>(f.confirmPosition == 1 ? 1 : 0);
}

void ApplyAllEventsButton(NetworkPageFields& f, bool checked, const DvrNetworkSection& working)
{
    if (checked) {
        f = FillNetworkPage(working);
        f.events.fill(true);
    } else {
        f.events.fill(false);
    }
}

void SetNetworkPageDefaults(NetworkPageFields& f)
{
    f.events.fill(false);
    f.port = kDefaultPort;
    f.addresses = {{{192, 168, 123, 98}, {192, 168, 123, 254}, {255, 255, 255, 0}, {8, 8, 8, 8}, {0, 0, 0, 0}}};
    f.mailServerId = "ADMIN";
    f.mailServerPassword = "5829";
    f.confirmPosition = 0;
}
