#include "core/dvr/SettingsBlockJson.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/dvr/FixedText.h"
#include "core/dvr/JsonText.h"
#include "core/dvr/SensorFlags.h"

namespace {

// Writes one JSON object member by member, taking care of the commas.
class JsonObject {
public:
    explicit JsonObject(std::string& out) : out_(out) { out_ += '{'; }
    ~JsonObject() { out_ += '}'; }
    JsonObject(const JsonObject&) = delete;
    JsonObject& operator=(const JsonObject&) = delete;

    std::string& Key(std::string_view name)
    {
        if (!first_)
            out_ += ',';
        first_ = false;
        AppendJsonString(out_, name);
        out_ += ':';
        return out_;
    }
    void Number(std::string_view name, std::uint64_t value) { Key(name) += std::to_string(value); }
    template <std::size_t N>
    void Text(std::string_view name, const char (&field)[N])
    {
        AppendJsonString(Key(name), ReadFixedText(field));
    }
    void Bytes(std::string_view name, const std::uint8_t* bytes, std::size_t count)
    {
        std::string& out = Key(name);
        out += '[';
        for (std::size_t i = 0; i < count; ++i) {
            if (i)
                out += ',';
            out += std::to_string(bytes[i]);
        }
        out += ']';
    }
    template <std::size_t N>
    void Bytes(std::string_view name, const std::uint8_t (&bytes)[N])
    {
        Bytes(name, bytes, N);
    }

private:
    std::string& out_;
    bool first_ = true;
};

// Runs write(i) for each of count elements of a JSON array.
template <class Write>
void Array(std::string& out, std::size_t count, Write write)
{
    out += '[';
    for (std::size_t i = 0; i < count; ++i) {
        if (i)
            out += ',';
        write(i);
    }
    out += ']';
}

void WriteSystem(std::string& out, const DvrSystemSection& s)
{
    JsonObject o(out);
    o.Number("language", s.language);
    o.Number("recorderId", s.recorderId);
    o.Number("daylightSaving", s.daylightSaving);
    o.Number("videoStandard", s.videoStandard);
    o.Text("adminPassword", s.adminPassword);
    o.Text("guest0Password", s.guest0Password);
    o.Text("guest1Password", s.guest1Password);
    o.Number("mouseSensor", s.mouseSensor);
    o.Number("alphablend", s.alphablend);
    o.Number("dvrTypeCode", s.dvrTypeCode);
    o.Bytes("reserved34", s.reserved34);
}

void WriteCamera(std::string& out, const DvrCameraSection& c)
{
    JsonObject o(out);
    Array(o.Key("channels"), kMaxChannels, [&](std::size_t ch) {
        JsonObject channel(out);
        channel.Text("cameraName", c.cameraName[ch]);
        channel.Number("motionAreaRows0to3", c.motionAreaRows0to3[ch].get());
        channel.Number("motionAreaRows4to7", c.motionAreaRows4to7[ch].get());
        channel.Number("motionSensitivity", c.motionSensitivity[ch]);
        channel.Number("recordingQuality", c.recordingQuality[ch]);
        channel.Number("frameRate", c.frameRate[ch]);
        channel.Number("ptzProtocol", c.ptzProtocol[ch]);
        channel.Number("ptzAddress", c.ptzAddress[ch]);
        channel.Number("brightness", c.brightness[ch]);
        channel.Number("contrast", c.contrast[ch]);
        channel.Number("hue", c.hue[ch]);
    });
    o.Bytes("reserved128", c.reserved128);
    o.Number("ptzPresentMask", c.ptzPresentMask.get());
    o.Number("reserved786", c.reserved786);
    o.Number("reserved787", c.reserved787);
}

void WriteSensor(std::string& out, const DvrSensorSection& s)
{
    JsonObject o(out);
    Array(o.Key("sensors"), kMaxSensors, [&](std::size_t i) {
        JsonObject sensor(out);
        const std::uint32_t word = s.flags[i].get();
        const SensorFlags flags = SensorFlags::FromWord(word);
        sensor.Number("cameraLinks", s.cameraLinks[i].get());
        sensor.Number("outputLinks", s.outputLinks[i]);
        sensor.Number("startHour", s.startHour[i]);
        sensor.Number("endHour", s.endHour[i]);
        sensor.Number("flags", word);
        sensor.Number("contactType", flags.normallyOpen ? 1 : 0);
        sensor.Number("operationMode", flags.intensive ? 1 : 0);
        sensor.Number("recordDwellTime", flags.recordDwell);
        sensor.Number("outputDwellTime", flags.outputDwell);
    });
}

void WriteNetwork(std::string& out, const DvrNetworkSection& n)
{
    JsonObject o(out);
    o.Number("eventMailMask", n.eventMailMask.get());
    o.Number("port", n.port.get());
    o.Bytes("ipAddress", n.ipAddress);
    o.Bytes("gateway", n.gateway);
    o.Bytes("subnetMask", n.subnetMask);
    o.Bytes("dnsServer", n.dnsServer);
    o.Bytes("smtpServer", n.smtpServer);
    o.Text("mailServerId", n.mailServerId);
    o.Text("mailServerPassword", n.mailServerPassword);
    o.Text("dvrName", n.dvrName);
    o.Text("mailSender", n.mailSender);
    o.Text("mailReceiver", n.mailReceiver);
    o.Number("mailServerConfirm", n.mailServerConfirm);
    o.Bytes("macAddress", n.macAddress);
    o.Bytes("reserved213", n.reserved213);
}

void WriteRecordSet(std::string& out, const DvrRecordSetSection& r)
{
    JsonObject o(out);
    Array(o.Key("groups"), 2, [&](std::size_t g) {
        JsonObject group(out);
        group.Number("hiddenValue", r.hiddenValue[g].get());
        group.Number("resolution", r.resolution[g]);
        group.Number("watermark", r.watermark[g]);
        group.Number("watermarkStrength", r.watermarkStrength[g]);
        group.Number("watermarkKey", r.watermarkKey[g]);
        group.Number("audioRecord", r.audioRecord[g]);
    });
    o.Number("videoRecordChoice", r.videoRecordChoice);
    o.Number("reserved15", r.reserved15);
}

void WriteSchedule(std::string& out, const DvrScheduleSection& s)
{
    JsonObject o(out);
    Array(o.Key("mode"), kMaxChannels, [&](std::size_t c) {
        Array(out, kScheduleDays, [&](std::size_t d) {
            Array(out, kScheduleHours, [&](std::size_t h) { out += std::to_string(s.mode[c][d][h]); });
        });
    });
}

} // namespace

std::string SettingsBlockToJson(const ZERD_INFO_BLK& block)
{
    std::string out;
    out.reserve(24 * 1024);
    {
        JsonObject o(out);
        WriteSystem(o.Key("system"), block.system);
        WriteCamera(o.Key("camera"), block.camera);
        WriteSensor(o.Key("sensor"), block.sensor);
        WriteNetwork(o.Key("network"), block.network);
        WriteRecordSet(o.Key("recordSet"), block.recordSet);
        WriteSchedule(o.Key("schedule"), block.schedule);
        o.Bytes("tail", block.tail);
    }
    return out;
}
