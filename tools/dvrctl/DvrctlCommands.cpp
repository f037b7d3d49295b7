#include "DvrctlCommands.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <set>
#include <vector>

#include "DdnsCommand.h"
#include "PlayCommand.h"
#include "PtzCommand.h"
#include "RecorderLink.h"
#include "SettingsCommand.h"
#include "SnapshotCommand.h"
#include "core/dvr/DiscoveryRecord.h"
#include "core/dvr/DvrModel.h"
#include "core/dvr/JsonText.h"
#include "core/dvr/NotifyCodes.h"
#include "core/dvr/SettingsBlockJson.h"
#include "core/net/DiscoveryMessages.h"

namespace {

struct Date {
    int year = 0;
    int month = 0;
    int day = 0;
};

// "YYYY-MM" (withDay false) or "YYYY-MM-DD"; nullopt when malformed.
std::optional<Date> ParseDate(const std::string& text, bool withDay)
{
    Date date;
    char tail = 0;
    int fields = withDay ? std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &date.year, &date.month, &date.day, &tail)
                         : std::sscanf(text.c_str(), "%4d-%2d%c", &date.year, &date.month, &tail);
    if (fields != (withDay ? 3 : 2) || date.year < 1900 || date.year > 9999 || date.month < 1 || date.month > 12
        || (withDay && (date.day < 1 || date.day > 31)))
        return std::nullopt;
    return date;
}

std::optional<std::vector<unsigned char>> ParseHex(const std::string& text)
{
    std::vector<unsigned char> bytes;
    std::string digits;
    for (char c : text)
        if (c != ' ' && c != ':')
            digits += c;
    if (digits.empty() || digits.size() % 2 != 0)
        return std::nullopt;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        unsigned value = 0;
        char tail = 0;
        if (std::sscanf(digits.substr(i, 2).c_str(), "%2x%c", &value, &tail) != 1
            || !std::isxdigit(static_cast<unsigned char>(digits[i]))
            || !std::isxdigit(static_cast<unsigned char>(digits[i + 1])))
            return std::nullopt;
        bytes.push_back(static_cast<unsigned char>(value));
    }
    return bytes;
}

int Info(RecorderLink& link)
{
    ZERD_INFO_BLK block{};
    if (int result = link.FetchSettings(&block))
        return Fail(result, link.Reason());
    std::cout << "{\"mode\":\"" << (link.Administrator() ? "administrator" : "user")
              << "\",\"settings\":" << SettingsBlockToJson(block) << "}\n";
    return kExitOk;
}

int Days(RecorderLink& link, const Date& month)
{
    int code = 0;
    link.Net().GetRecordingProfile_Monthley(static_cast<unsigned short>(month.year),
                                            static_cast<unsigned char>(month.month));
    if (int result = link.Await({kNotifyMonthProfileReady}, &code))
        return Fail(result, link.Reason());
    unsigned mask = link.Net().GetRecordingMonthleyProfile_Data();
    for (int day = 1; day <= 31; ++day)
        if (mask & (1u << (day - 1)))
            std::cout << day << "\n";
    return kExitOk;
}

int Log(RecorderLink& link, const Date& day, const std::string& path)
{
    int code = 0;
    link.Net().DownloadLOG(static_cast<unsigned short>(day.year), static_cast<unsigned char>(day.month),
                           static_cast<unsigned char>(day.day));
    if (int result = link.Await({kNotifyLogFound, kNotifyLogNotFound}, &code))
        return Fail(result, link.Reason());
    if (code == kNotifyLogNotFound)
        return Fail(kExitNoLog, "the recorder has no log for that day");
    unsigned expected = link.Net().GetLogFileSize();
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        return Fail(kExitRefused, "cannot write " + path);
    unsigned long received = 0;
    for (unsigned char block = 0; code != kNotifyLogLastBlock; ++block) {
        link.Net().GetLOGFileBlock(block);
        if (int result = link.Await({kNotifyLogBlock, kNotifyLogLastBlock, kNotifyLogNotFound}, &code))
            return Fail(result, link.Reason());
        if (code == kNotifyLogNotFound)
            return Fail(kExitNoLog, "the log went away during the download");
        int length = 0;
        unsigned char* data = link.Net().GetLOGFileChunkData(length);
        out.write(reinterpret_cast<const char*>(data), length);
        received += static_cast<unsigned long>(length);
    }
    out.close();
    if (!out)
        return Fail(kExitRefused, "cannot write " + path);
    if (received != expected)
        return Fail(kExitRefused, "the log arrived with " + std::to_string(received) + " of " +
                                      std::to_string(expected) + " bytes");
    return kExitOk;
}

int Upload(RecorderLink& link, const std::string& path, const std::vector<char>& content)
{
    int code = 0;
    std::string name = path;
    if (!link.Net().Fileupload(name.data(), content.size()))
        return Fail(kExitUsage, "the file name or size cannot be uploaded");
    if (int result = link.Await({kNotifyUploadReady, kNotifyUploadFailed}, &code))
        return Fail(result, link.Reason());
    std::size_t offset = 0;
    for (unsigned char sequence = 0; code != kNotifyUploadFailed; ++sequence) {
        std::size_t length = std::min<std::size_t>(CZERDNetwork::kMaxUploadChunk, content.size() - offset);
        bool last = length < static_cast<std::size_t>(CZERDNetwork::kMaxUploadChunk);
        link.Net().WriteFileChunk(const_cast<char*>(content.data() + offset), static_cast<int>(length), sequence,
                                  last ? 1 : 0);
        offset += length;
        if (int result = link.Await({kNotifyUploadChunkAccepted, kNotifyUploadFailed}, &code))
            return Fail(result, link.Reason());
        if (last && code == kNotifyUploadChunkAccepted)
            return kExitOk;
    }
    return Fail(kExitRefused, "the recorder refused the upload");
}

int Serial(RecorderLink& link, std::vector<unsigned char> bytes)
{
    if (!link.Net().PutSerialPortData(bytes.data(), static_cast<int>(bytes.size())))
        return Fail(kExitUsage, "serial data must be 1 to " + std::to_string(CZERDNetwork::kMaxSerialBytes) + " bytes");
    if (int result = link.FetchSettings())
        return Fail(result, link.Reason());
    return kExitOk;
}

std::string DiscoveryJson(const ZERD_INFO_BLK& block)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&block);
    auto record = DecodeDiscoveryRecord(bytes, sizeof block);
    if (!record)
        return {};
    char address[16];
    std::snprintf(address, sizeof address, "%d.%d.%d.%d", record->ipAddress[0], record->ipAddress[1],
                  record->ipAddress[2], record->ipAddress[3]);
    char mac[18];
    std::snprintf(mac, sizeof mac, "%02X:%02X:%02X:%02X:%02X:%02X", record->macAddress[0], record->macAddress[1],
                  record->macAddress[2], record->macAddress[3], record->macAddress[4], record->macAddress[5]);
    const char* name = reinterpret_cast<const char*>(bytes + wire::kDiscoveryNameOffset);
    std::string json = "{\"type\":" + std::to_string(record->dvrTypeCode) + ",\"model\":";
    const DvrModelInfo* model = FindDvrModel(record->dvrTypeCode);
    AppendJsonString(json, model ? model->name : "");
    json += ",\"ip\":\"" + std::string(address) + "\",\"port\":" + std::to_string(record->port) + ",\"mac\":\"" + mac
        + "\",\"name\":";
    AppendJsonString(json, std::string(name, strnlen(name, wire::kDiscoveryNameSize)));
    return json + "}";
}

int Scan()
{
    NotificationQueue queue;
    if (!StartUnicastChannelMonitoring())
        return Fail(kExitUnreachable, "cannot open a discovery socket");
    SetNotifyWindow(kMsgDiscoveryRecord, queue.Handle());
    bool sent = ZERDScan();
    // Answers come at once on loopback; the wait only bounds a silent scan.
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(sent ? 700 : 0);
    std::vector<ZERD_INFO_BLK*> records;
    while (auto message = queue.Take(std::chrono::duration_cast<std::chrono::milliseconds>(
               std::max(deadline - std::chrono::steady_clock::now(), std::chrono::steady_clock::duration::zero()))))
        records.push_back(reinterpret_cast<ZERD_INFO_BLK*>(message->lParam));
    StopUnicastChannelMonitoring();
    while (auto message = queue.Take(std::chrono::milliseconds(0)))
        records.push_back(reinterpret_cast<ZERD_INFO_BLK*>(message->lParam));
    for (ZERD_INFO_BLK* record : records) {
        std::string line = DiscoveryJson(*record);
        if (!line.empty())
            std::cout << line << "\n";
        delete record;
    }
    return kExitOk;
}

} // namespace

int Fail(int code, const std::string& reason)
{
    std::cerr << "dvrctl: " << reason << "\n";
    return code;
}

void UseSilentAudio()
{
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
}

int RunDvrctlCommand(const DvrctlOptions& options)
{
    if (options.command == "scan")
        return Scan();
    if (options.command == "snapshot")
        return RunSnapshot(options);
    if (options.command == "play")
        return RunPlay(options);
    if (options.command == "ddns")
        return RunDdns(options);
    if (options.command == "ptz")
        return RunPtz(options);
    if (options.command == "settings")
        return RunSettings(options);

    // Every argument is checked before the recorder is bothered.
    std::optional<Date> date;
    std::optional<std::vector<unsigned char>> serial;
    std::vector<char> content;
    if (options.command == "days" || options.command == "log") {
        date = ParseDate(options.arguments[0], options.command == "log");
        if (!date)
            return Fail(kExitUsage, "malformed date " + options.arguments[0]);
    } else if (options.command == "serial") {
        serial = ParseHex(options.arguments[0]);
        if (!serial)
            return Fail(kExitUsage, "malformed hex bytes " + options.arguments[0]);
    } else if (options.command == "upload") {
        std::ifstream in(options.arguments[0], std::ios::binary);
        if (!in)
            return Fail(kExitUsage, "cannot read " + options.arguments[0]);
        content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    RecorderLink link;
    if (int result = link.Open(options))
        return Fail(result, link.Reason());
    if (options.command == "info")
        return Info(link);
    if (options.command == "days")
        return Days(link, *date);
    if (options.command == "log")
        return Log(link, *date, options.arguments[1]);
    if (options.command == "upload")
        return Upload(link, options.arguments[0], content);
    return Serial(link, *serial);
}
