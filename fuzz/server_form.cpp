// The configuration form holds what the operator typed and what was loaded
// from records any tool may have written (the DDNS text among them): the
// check must either refuse it or give a record that can be stored and
// connected to, and an address text must read back as what it shows.
#include "core/config/RegConfig.h"
#include "core/servers/DottedQuad.h"
#include "core/servers/ServerEditPlan.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

// One field a line, in the form's order.
std::vector<std::string> Fields(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> fields(8);
    std::size_t field = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && field + 1 < fields.size())
            ++field;
        else
            fields[field].push_back(static_cast<char>(data[i]));
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto f = Fields(data, size);
    const ServerForm form{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]};

    if (auto address = ParseDottedQuad(form.ddns)) {
        if (ParseDottedQuad(FormatDottedQuad(*address)) != address)
            __builtin_trap();
    }

    auto checked = CheckServerForm(form);
    if (auto* record = std::get_if<ServerRecord>(&checked)) {
        if (record->port == 0 || record->port > 65535 || !ServerDirectory::IsValidName(record->name)
            || record->password.empty() || record->ip.empty() || record->ip.size() > CRegConfig::kMaxTextBytes)
            __builtin_trap();
    }
    for (ServerEdit edit : {ServerEdit::Add, ServerEdit::Modify, ServerEdit::Delete})
        for (bool exists : {false, true}) {
            ServerEditPlan plan = PlanServerEdit(edit, form, exists);
            if (plan.action != ServerEditPlan::Action::Stop && !std::holds_alternative<ServerRecord>(checked))
                __builtin_trap();  // nothing is written from a refused form
        }
    return 0;
}
