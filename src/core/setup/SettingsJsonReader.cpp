#include "core/setup/SettingsJsonReader.h"

#include <cstring>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "core/dvr/FixedText.h"
#include "core/dvr/SensorFlags.h"
#include "core/setup/JsonDocument.h"
#include "core/setup/SetupFieldLimits.h"

namespace {

using Problem = std::optional<FieldProblem>;

std::string Member(const std::string& path, std::string_view key)
{
    return path.empty() ? std::string(key) : path + "." + std::string(key);
}

std::string Item(const std::string& path, std::size_t index)
{
    return path + "[" + std::to_string(index) + "]";
}

// Walks one JSON object: each Take* reads a member when it is there.
class ObjectReader {
public:
    ObjectReader(const JsonNode& node, std::string path) : m_node(node), m_path(std::move(path)) {}

    // The object itself: an object whose members are all known.
    Problem Check(std::initializer_list<const char*> known) const
    {
        if (m_node.kind != JsonNode::Kind::Object)
            return FieldProblem{m_path.empty() ? "settings" : m_path, "must be an object"};
        for (const std::string& name : m_node.names) {
            bool found = false;
            for (const char* k : known)
                found = found || name == k;
            if (!found)
                return FieldProblem{Member(m_path, name.empty() ? "\"\"" : name), "unknown field"};
        }
        return std::nullopt;
    }

    const JsonNode* Find(const char* key) const { return m_node.Find(key); }
    std::string Path(const char* key) const { return Member(m_path, key); }

    template <class Set>
    Problem Integer(const char* key, long long high, Set set) const
    {
        const JsonNode* node = Find(key);
        if (!node)
            return std::nullopt;
        return IntegerValue(*node, Path(key), high, set);
    }

    template <std::size_t N>
    Problem Text(const char* key, char (&field)[N], std::size_t maxLength) const
    {
        const JsonNode* node = Find(key);
        if (!node)
            return std::nullopt;
        if (node->kind != JsonNode::Kind::String)
            return FieldProblem{Path(key), "must be a string"};
        if (node->text.size() > maxLength)
            return FieldProblem{Path(key), "longer than " + std::to_string(maxLength) + " characters"};
        if (node->text.find('\0') != std::string::npos)
            return FieldProblem{Path(key), "holds a NUL character"};
        WriteFixedText(field, node->text, maxLength);
        return std::nullopt;
    }

    template <std::size_t N>
    Problem Bytes(const char* key, std::uint8_t (&field)[N]) const
    {
        const JsonNode* node = Find(key);
        if (!node)
            return std::nullopt;
        return Array(*node, Path(key), N, [&](const JsonNode& item, const std::string& path, std::size_t i) {
            return IntegerValue(item, path, 255, [&](long long v) { field[i] = static_cast<std::uint8_t>(v); });
        });
    }

    // A member the recorder keeps: the file may only repeat its value.
    template <std::size_t N>
    Problem SameBytes(const char* key, const std::uint8_t (&field)[N]) const
    {
        std::uint8_t copy[N];
        std::memcpy(copy, field, N);
        if (auto p = Bytes(key, copy))
            return p;
        if (std::memcmp(copy, field, N) != 0)
            return FieldProblem{Path(key), "is read-only"};
        return std::nullopt;
    }

    template <class Set>
    static Problem IntegerValue(const JsonNode& node, const std::string& path, long long high, Set set)
    {
        if (node.kind != JsonNode::Kind::Integer)
            return FieldProblem{path, "must be a whole number"};
        if (node.integer < 0 || node.integer > high)
            return FieldProblem{path, OutsideRangeReason(node.integer, 0, high)};
        set(node.integer);
        return std::nullopt;
    }

    using ItemReader = std::function<Problem(const JsonNode&, const std::string&, std::size_t)>;
    static Problem Array(const JsonNode& node, const std::string& path, std::size_t count, const ItemReader& read)
    {
        if (node.kind != JsonNode::Kind::Array)
            return FieldProblem{path, "must be an array"};
        if (node.items.size() != count)
            return FieldProblem{path, "must hold " + std::to_string(count) + " entries"};
        for (std::size_t i = 0; i < count; ++i)
            if (auto p = read(node.items[i], Item(path, i), i))
                return p;
        return std::nullopt;
    }

private:
    const JsonNode& m_node;
    std::string m_path;
};

template <class T>
auto Setter(T& field)
{
    return [&field](long long v) { field = static_cast<T>(v); };
}

auto Setter(LeU16& field)
{
    return [&field](long long v) { field.set(static_cast<std::uint16_t>(v)); };
}

auto Setter(LeU32& field)
{
    return [&field](long long v) { field.set(static_cast<std::uint32_t>(v)); };
}

// Runs the readers in order and keeps the first problem.
Problem FirstOf(std::initializer_list<std::function<Problem()>> steps)
{
    for (const auto& step : steps)
        if (auto p = step())
            return p;
    return std::nullopt;
}

Problem ReadSystem(const ObjectReader& r, DvrSystemSection& s)
{
    std::uint8_t type = s.dvrTypeCode;
    return FirstOf({
        [&] { return r.Check({"language", "recorderId", "daylightSaving", "videoStandard", "adminPassword",
                              "guest0Password", "guest1Password", "mouseSensor", "alphablend", "dvrTypeCode",
                              "reserved34"}); },
        [&] { return r.Integer("language", 255, Setter(s.language)); },
        [&] { return r.Integer("recorderId", kRecorderIdRange.high, Setter(s.recorderId)); },
        [&] { return r.Integer("daylightSaving", 255, Setter(s.daylightSaving)); },
        [&] { return r.Integer("videoStandard", 255, Setter(s.videoStandard)); },
        [&] { return r.Text("adminPassword", s.adminPassword, kPasswordMaxLength); },
        [&] { return r.Text("guest0Password", s.guest0Password, kPasswordMaxLength); },
        [&] { return r.Text("guest1Password", s.guest1Password, kPasswordMaxLength); },
        [&] { return r.Integer("mouseSensor", 255, Setter(s.mouseSensor)); },
        [&] { return r.Integer("alphablend", 255, Setter(s.alphablend)); },
        [&] { return r.Integer("dvrTypeCode", 255, Setter(type)); },
        [&]() -> Problem {
            if (type != s.dvrTypeCode)
                return FieldProblem{r.Path("dvrTypeCode"), "is read-only"};
            return std::nullopt;
        },
    });
}

Problem ReadChannel(const ObjectReader& r, DvrCameraSection& c, std::size_t ch)
{
    return FirstOf({
        [&] { return r.Check({"cameraName", "motionAreaRows0to3", "motionAreaRows4to7", "motionSensitivity",
                              "recordingQuality", "frameRate", "ptzProtocol", "ptzAddress", "brightness", "contrast",
                              "hue"}); },
        [&] { return r.Text("cameraName", c.cameraName[ch], kCameraNameMaxLength); },
        [&] { return r.Integer("motionAreaRows0to3", 0xFFFFFFFFll, Setter(c.motionAreaRows0to3[ch])); },
        [&] { return r.Integer("motionAreaRows4to7", 0xFFFFFFFFll, Setter(c.motionAreaRows4to7[ch])); },
        [&] { return r.Integer("motionSensitivity", 255, Setter(c.motionSensitivity[ch])); },
        [&] { return r.Integer("recordingQuality", 255, Setter(c.recordingQuality[ch])); },
        [&] { return r.Integer("frameRate", 255, Setter(c.frameRate[ch])); },
        [&] { return r.Integer("ptzProtocol", 255, Setter(c.ptzProtocol[ch])); },
        [&] { return r.Integer("ptzAddress", 255, Setter(c.ptzAddress[ch])); },
        [&] { return r.Integer("brightness", 255, Setter(c.brightness[ch])); },
        [&] { return r.Integer("contrast", 255, Setter(c.contrast[ch])); },
        [&] { return r.Integer("hue", 255, Setter(c.hue[ch])); },
    });
}

Problem ReadCamera(const ObjectReader& r, DvrCameraSection& c)
{
    if (auto p = r.Check({"channels", "reserved128", "ptzPresentMask", "reserved786", "reserved787"}))
        return p;
    if (const JsonNode* channels = r.Find("channels"))
        if (auto p = ObjectReader::Array(*channels, r.Path("channels"), kMaxChannels,
                                         [&](const JsonNode& item, const std::string& path, std::size_t ch) {
                                             return ReadChannel(ObjectReader(item, path), c, ch);
                                         }))
            return p;
    std::uint16_t mask = 0;
    for (std::size_t ch = 0; ch < kMaxChannels; ++ch)
        if (c.ptzProtocol[ch] != 0)
            mask = static_cast<std::uint16_t>(mask | (1u << ch));
    c.ptzPresentMask.set(mask);
    return std::nullopt;
}

Problem ReadSensor(const ObjectReader& r, DvrSensorSection& s, std::size_t i)
{
    SensorFlags flags = SensorFlags::FromWord(s.flags[i].get());
    if (auto p = FirstOf({
            [&] { return r.Check({"cameraLinks", "outputLinks", "startHour", "endHour", "flags", "contactType",
                                  "operationMode", "recordDwellTime", "outputDwellTime"}); },
            [&] { return r.Integer("cameraLinks", 0xFFFF, Setter(s.cameraLinks[i])); },
            [&] { return r.Integer("outputLinks", 255, Setter(s.outputLinks[i])); },
            [&] { return r.Integer("startHour", 255, Setter(s.startHour[i])); },
            [&] { return r.Integer("endHour", 255, Setter(s.endHour[i])); },
            [&] { return r.Integer("contactType", 1, [&](long long v) { flags.normallyOpen = v != 0; }); },
            [&] { return r.Integer("operationMode", 1, [&](long long v) { flags.intensive = v != 0; }); },
            [&] { return r.Integer("recordDwellTime", kDwellRange.high, Setter(flags.recordDwell)); },
            [&] { return r.Integer("outputDwellTime", kDwellRange.high, Setter(flags.outputDwell)); },
        }))
        return p;
    s.flags[i].set(flags.ToWord(s.flags[i].get()));
    s.endHour[i] = SensorEndHour(s.startHour[i], s.endHour[i]);
    return std::nullopt;
}

Problem ReadNetwork(const ObjectReader& r, DvrNetworkSection& n)
{
    return FirstOf({
        [&] { return r.Check({"eventMailMask", "port", "ipAddress", "gateway", "subnetMask", "dnsServer",
                              "smtpServer", "mailServerId", "mailServerPassword", "dvrName", "mailSender",
                              "mailReceiver", "mailServerConfirm", "macAddress", "reserved213"}); },
        [&] { return r.Integer("eventMailMask", 0xFFFF, Setter(n.eventMailMask)); },
        [&] { return r.Integer("port", kPortRange.high, Setter(n.port)); },
        [&] { return r.Bytes("ipAddress", n.ipAddress); },
        [&] { return r.Bytes("gateway", n.gateway); },
        [&] { return r.Bytes("subnetMask", n.subnetMask); },
        [&] { return r.Bytes("dnsServer", n.dnsServer); },
        [&] { return r.Bytes("smtpServer", n.smtpServer); },
        [&] { return r.Text("mailServerId", n.mailServerId, sizeof n.mailServerId); },
        [&] { return r.Text("mailServerPassword", n.mailServerPassword, sizeof n.mailServerPassword); },
        [&] { return r.Text("dvrName", n.dvrName, sizeof n.dvrName); },
        [&] { return r.Text("mailSender", n.mailSender, sizeof n.mailSender); },
        [&] { return r.Text("mailReceiver", n.mailReceiver, sizeof n.mailReceiver); },
        [&] { return r.Integer("mailServerConfirm", 255, Setter(n.mailServerConfirm)); },
        [&] { return r.SameBytes("macAddress", n.macAddress); },
    });
}

Problem ReadRecordSet(const ObjectReader& r, DvrRecordSetSection& rs)
{
    if (auto p = FirstOf({
            [&] { return r.Check({"groups", "videoRecordChoice", "reserved15"}); },
            [&] { return r.Integer("videoRecordChoice", 255, Setter(rs.videoRecordChoice)); },
        }))
        return p;
    const JsonNode* groups = r.Find("groups");
    if (!groups)
        return std::nullopt;
    return ObjectReader::Array(*groups, r.Path("groups"), 2, [&](const JsonNode& item, const std::string& path,
                                                                   std::size_t g) {
        ObjectReader group(item, path);
        return FirstOf({
            [&] { return group.Check({"hiddenValue", "resolution", "watermark", "watermarkStrength", "watermarkKey",
                                      "audioRecord"}); },
            [&] { return group.Integer("hiddenValue", 0xFFFF, Setter(rs.hiddenValue[g])); },
            [&] { return group.Integer("resolution", 255, Setter(rs.resolution[g])); },
            [&] { return group.Integer("watermark", 255, Setter(rs.watermark[g])); },
            [&] { return group.Integer("watermarkStrength", 255, Setter(rs.watermarkStrength[g])); },
            [&] { return group.Integer("watermarkKey", 255, Setter(rs.watermarkKey[g])); },
            [&] { return group.Integer("audioRecord", 255, Setter(rs.audioRecord[g])); },
        });
    });
}

Problem ReadSchedule(const ObjectReader& r, DvrScheduleSection& s)
{
    if (auto p = r.Check({"mode"}))
        return p;
    const JsonNode* mode = r.Find("mode");
    if (!mode)
        return std::nullopt;
    return ObjectReader::Array(*mode, r.Path("mode"), kMaxChannels, [&](const JsonNode& camera,
                                                                          const std::string& cPath, std::size_t c) {
        return ObjectReader::Array(camera, cPath, kScheduleDays, [&](const JsonNode& day, const std::string& dPath,
                                                                     std::size_t d) {
            return ObjectReader::Array(day, dPath, kScheduleHours, [&](const JsonNode& hour,
                                                                       const std::string& hPath, std::size_t h) {
                return ObjectReader::IntegerValue(hour, hPath, 255, Setter(s.mode[c][d][h]));
            });
        });
    });
}

// Reads one section's object when the file has it.
template <class Section, class Read>
Problem SectionOf(const ObjectReader& root, const char* key, Section& section, Read read)
{
    const JsonNode* node = root.Find(key);
    if (!node)
        return std::nullopt;
    return read(ObjectReader(*node, key), section);
}

} // namespace

std::variant<ZERD_INFO_BLK, FieldProblem> ReadSettingsJson(std::string_view text, const ZERD_INFO_BLK& base)
{
    std::string error;
    const auto document = ParseJsonDocument(text, &error);
    if (!document)
        return FieldProblem{"file", "not JSON: " + error};
    const JsonNode* settings = &*document;
    if (const JsonNode* wrapped = document->Find("settings"); wrapped && document->Find("mode"))
        settings = wrapped;

    ZERD_INFO_BLK block = base;
    const ObjectReader root(*settings, "");
    const Problem problem = FirstOf({
        [&] { return root.Check({"system", "camera", "sensor", "network", "recordSet", "schedule", "tail"}); },
        [&] { return SectionOf(root, "system", block.system, ReadSystem); },
        [&] { return SectionOf(root, "camera", block.camera, ReadCamera); },
        [&]() -> Problem {
            const JsonNode* sensor = root.Find("sensor");
            if (!sensor)
                return std::nullopt;
            const ObjectReader r(*sensor, "sensor");
            if (auto p = r.Check({"sensors"}))
                return p;
            const JsonNode* sensors = r.Find("sensors");
            if (!sensors)
                return std::nullopt;
            return ObjectReader::Array(*sensors, r.Path("sensors"), kMaxSensors,
                                       [&](const JsonNode& item, const std::string& path, std::size_t i) {
                                           return ReadSensor(ObjectReader(item, path), block.sensor, i);
                                       });
        },
        [&] { return SectionOf(root, "network", block.network, ReadNetwork); },
        [&] { return SectionOf(root, "recordSet", block.recordSet, ReadRecordSet); },
        [&] { return SectionOf(root, "schedule", block.schedule, ReadSchedule); },
    });
    if (problem)
        return *problem;
    return block;
}
