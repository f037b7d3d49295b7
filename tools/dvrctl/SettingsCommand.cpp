#include "SettingsCommand.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "DvrctlCommands.h"
#include "RecorderLink.h"
#include "core/dvr/NotifyCodes.h"
#include "core/dvr/SettingsBlock.h"
#include "core/dvr/SettingsBlockJson.h"
#include "core/setup/JsonDocument.h"
#include "core/setup/SettingsFieldCheck.h"
#include "core/setup/SettingsJsonReader.h"
#include "core/setup/SetupSectionCopies.h"

namespace {

// Each changed section through the same write as the setup pages; the
// recorder answers each before the next goes.
int WriteChangedSections(RecorderLink& link, ZERD_INFO_BLK current, const ZERD_INFO_BLK& wanted)
{
    SetupSectionCopies copies;
    copies.working = wanted;
    for (std::uint8_t section = 0; section < kSectionCount; ++section) {
        if (ExtractSection(current, section) == ExtractSection(wanted, section))
            continue;
        const bool taken = WriteSettingsSection(current, copies, section, [&link](void* data, std::uint8_t number) {
            return link.Net().SetDVRInfo(data, number);
        });
        const std::string which = "section " + std::to_string(section);
        if (!taken)
            return Fail(kExitUnreachable, which + " could not be sent");
        int code = 0;
        if (int result =
                link.Await({kNotifySettingsWritten, kNotifySettingsWriteFailed, kNotifyOperationRefused}, &code))
            return Fail(result, link.Reason());
        if (code != kNotifySettingsWritten)
            return Fail(kExitRefused, "the recorder refused " + which);
    }
    return kExitOk;
}

int Get(const DvrctlOptions& options)
{
    RecorderLink link;
    if (int result = link.Open(options))
        return Fail(result, link.Reason());
    ZERD_INFO_BLK block{};
    if (int result = link.FetchSettings(&block))
        return Fail(result, link.Reason());
    std::cout << SettingsBlockToJson(block) << "\n";
    return kExitOk;
}

int Put(const DvrctlOptions& options, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return Fail(kExitRefused, "cannot read " + path);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // A file that is not JSON is refused before the recorder is bothered.
    std::string error;
    if (!ParseJsonDocument(text, &error))
        return Fail(kExitRefused, path + ": not JSON: " + error);

    RecorderLink link;
    if (int result = link.Open(options))
        return Fail(result, link.Reason());
    ZERD_INFO_BLK current{};
    if (int result = link.FetchSettings(&current))
        return Fail(result, link.Reason());
    auto read = ReadSettingsJson(text, current);
    if (const auto* problem = std::get_if<FieldProblem>(&read))
        return Fail(kExitRefused, problem->Line());
    const ZERD_INFO_BLK& wanted = std::get<ZERD_INFO_BLK>(read);
    if (const auto problem = CheckSettingsBlock(wanted))
        return Fail(kExitRefused, problem->Line());
    return WriteChangedSections(link, current, wanted);
}

} // namespace

int RunSettings(const DvrctlOptions& options)
{
    const auto& args = options.arguments;
    if (args.size() == 1 && args[0] == "get")
        return Get(options);
    if (args.size() == 2 && args[0] == "put")
        return Put(options, args[1]);
    return Fail(kExitUsage, "settings takes get, or put FILE");
}
