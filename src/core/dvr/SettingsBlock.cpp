#include "core/dvr/SettingsBlock.h"

#include <cstring>
#include <string>

#include "core/dvr/DvrModel.h"
#include "core/dvr/FixedText.h"

namespace {

constexpr SectionBounds kSections[kSectionCount] = {
    {offsetof(ZERD_INFO_BLK, system), sizeof(DvrSystemSection)},
    {offsetof(ZERD_INFO_BLK, camera), sizeof(DvrCameraSection)},
    {offsetof(ZERD_INFO_BLK, sensor), sizeof(DvrSensorSection)},
    {offsetof(ZERD_INFO_BLK, network), sizeof(DvrNetworkSection)},
    {offsetof(ZERD_INFO_BLK, recordSet), sizeof(DvrRecordSetSection)},
    {offsetof(ZERD_INFO_BLK, schedule), sizeof(DvrScheduleSection)},
};

constexpr const char* kDefaultPassword = "5829";
constexpr std::size_t kPasswordLength = 8;
constexpr std::size_t kCameraNameLength = 8;

// The password field of an account, const or not with the block.
template <class Block>
auto PasswordField(Block& block, std::string_view account) -> decltype(+block.system.adminPassword)
{
    if (account == "ADMIN")
        return block.system.adminPassword;
    if (account == "GUEST0")
        return block.system.guest0Password;
    if (account == "GUEST1")
        return block.system.guest1Password;
    return nullptr;
}

void SetAddress(std::uint8_t (&field)[4], std::uint8_t a, std::uint8_t b, std::uint8_t c, std::uint8_t d)
{
    field[0] = a;
    field[1] = b;
    field[2] = c;
    field[3] = d;
}

void SetSystemDefaults(DvrSystemSection& s, int dvrTypeCode)
{
    s.language = 0;       // ENGLISH
    s.recorderId = 0;
    s.daylightSaving = 1; // Yes
    s.videoStandard = 0;  // NTSC
    WriteFixedText(s.adminPassword, kDefaultPassword);
    WriteFixedText(s.guest0Password, kDefaultPassword);
    WriteFixedText(s.guest1Password, kDefaultPassword);
    s.mouseSensor = 2;    // Middle
    s.alphablend = 10;    // opaque
    s.dvrTypeCode = static_cast<std::uint8_t>(dvrTypeCode);
}

void SetCameraDefaults(DvrCameraSection& c)
{
    for (std::size_t ch = 0; ch < kMaxChannels; ++ch) {
        c.motionAreaRows0to3[ch].set(0xFFFFFFFFu); // a new camera watches its whole picture
        c.motionAreaRows4to7[ch].set(0xFFFFFFFFu);
        WriteFixedText(c.cameraName[ch], "CAM" + std::to_string(ch + 1));
        c.motionSensitivity[ch] = 80;
        c.recordingQuality[ch] = 1; // Middle(CBR)
        c.frameRate[ch] = 30;
        c.ptzProtocol[ch] = 0;      // None
        c.ptzAddress[ch] = 0;
        c.brightness[ch] = 128;
        c.contrast[ch] = 128;
        c.hue[ch] = 128;
    }
    c.ptzPresentMask.set(0);
    c.reserved786 = 0;
}

void SetSensorDefaults(DvrSensorSection& s)
{
    for (std::size_t i = 0; i < kMaxSensors; ++i) {
        s.cameraLinks[i].set(0);
        s.outputLinks[i] = 0;
        s.startHour[i] = 0;
        s.endHour[i] = 24;
        s.flags[i].set(0);
    }
}

void SetNetworkDefaults(DvrNetworkSection& n, int dvrTypeCode)
{
    n.eventMailMask.set(0);
    n.port.set(7050);
    SetAddress(n.ipAddress, 192, 168, 123, 98);
    SetAddress(n.gateway, 192, 168, 123, 254);
    SetAddress(n.subnetMask, 255, 255, 255, 0);
    SetAddress(n.dnsServer, 8, 8, 8, 8);
    SetAddress(n.smtpServer, 0, 0, 0, 0);
    WriteFixedText(n.mailServerId, "ADMIN");
    WriteFixedText(n.mailServerPassword, kDefaultPassword);
    const DvrModelInfo* model = FindDvrModel(dvrTypeCode);
    WriteFixedText(n.dvrName, model ? model->name : "DVR");
    n.mailServerConfirm = 0; // NOT
    // A locally administered address naming the model; a recorder that is one
    // of several sets its own.
    const std::uint8_t mac[6] = {0x02, 0x00, 0x00, 0x00, 0x00, static_cast<std::uint8_t>(dvrTypeCode)};
    std::memcpy(n.macAddress, mac, sizeof mac);
}

void SetRecordSetDefaults(DvrRecordSetSection& r)
{
    for (int g = 0; g < 2; ++g) {
        r.hiddenValue[g].set(10);
        r.resolution[g] = 0;
        r.watermark[g] = 0;
        r.watermarkStrength[g] = 0;
        r.watermarkKey[g] = 0;
        r.audioRecord[g] = 0x0F; // all four cameras of each byte
    }
    r.videoRecordChoice = 0x01; // choice "1"
}

} // namespace

std::optional<SectionBounds> SectionSpan(std::uint8_t section)
{
    if (section >= kSectionCount)
        return std::nullopt;
    return kSections[section];
}

const std::uint8_t* BlockBytes(const ZERD_INFO_BLK& block)
{
    return reinterpret_cast<const std::uint8_t*>(&block);
}

std::uint8_t* BlockBytes(ZERD_INFO_BLK& block)
{
    return reinterpret_cast<std::uint8_t*>(&block);
}

std::vector<std::uint8_t> SettingsBlockBytes(const ZERD_INFO_BLK& block)
{
    const std::uint8_t* bytes = BlockBytes(block);
    return std::vector<std::uint8_t>(bytes, bytes + kSettingsBlockSize);
}

ZERD_INFO_BLK MakeDefaultSettingsBlock(int dvrTypeCode)
{
    ZERD_INFO_BLK block;
    std::memset(&block, 0, sizeof block);
    SetSystemDefaults(block.system, dvrTypeCode);
    SetCameraDefaults(block.camera);
    SetSensorDefaults(block.sensor);
    SetNetworkDefaults(block.network, dvrTypeCode);
    SetRecordSetDefaults(block.recordSet);
    std::memset(block.schedule.mode, static_cast<int>(ScheduleMode::Continuous), sizeof block.schedule.mode);
    return block;
}

bool ApplySection(ZERD_INFO_BLK& block, std::uint8_t section, const std::uint8_t* data, std::size_t length)
{
    const auto bounds = SectionSpan(section);
    if (!bounds || length != bounds->size || data == nullptr)
        return false;
    const std::uint8_t typeCode = block.system.dvrTypeCode;
    std::uint8_t mac[sizeof block.network.macAddress];
    std::memcpy(mac, block.network.macAddress, sizeof mac);
    std::memmove(BlockBytes(block) + bounds->offset, data, length);
    block.system.dvrTypeCode = typeCode;
    std::memcpy(block.network.macAddress, mac, sizeof mac);
    return true;
}

std::vector<std::uint8_t> ExtractSection(const ZERD_INFO_BLK& block, std::uint8_t section)
{
    const auto bounds = SectionSpan(section);
    if (!bounds)
        return {};
    const std::uint8_t* start = BlockBytes(block) + bounds->offset;
    return std::vector<std::uint8_t>(start, start + bounds->size);
}

bool ValidateSettingsBlock(const std::uint8_t* data, std::size_t length, std::string* error)
{
    const auto fail = [&](std::string text) {
        if (error)
            *error = std::move(text);
        return false;
    };
    if (data == nullptr || length != kSettingsBlockSize)
        return fail("settings block has " + std::to_string(data ? length : 0) + " bytes, expected "
                    + std::to_string(kSettingsBlockSize));
    const std::uint8_t typeCode = data[offsetof(ZERD_INFO_BLK, system) + offsetof(DvrSystemSection, dvrTypeCode)];
    if (!FindDvrModel(typeCode))
        return fail("settings block names unknown DVR type " + std::to_string(typeCode));
    return true;
}

std::optional<ZERD_INFO_BLK> ParseSettingsBlock(const std::uint8_t* data, std::size_t length, std::string* error)
{
    if (!ValidateSettingsBlock(data, length, error))
        return std::nullopt;
    ZERD_INFO_BLK block;
    std::memcpy(&block, data, kSettingsBlockSize);
    return block;
}

std::optional<std::string> AccountPassword(const ZERD_INFO_BLK& block, std::string_view account)
{
    const char* field = PasswordField(block, account);
    if (!field)
        return std::nullopt;
    return ReadFixedText(field, sizeof block.system.adminPassword);
}

bool SetAccountPassword(ZERD_INFO_BLK& block, std::string_view account, std::string_view password)
{
    char* field = PasswordField(block, account);
    if (!field)
        return false;
    WriteFixedText(field, sizeof block.system.adminPassword, password, kPasswordLength);
    return true;
}

std::string CameraName(const ZERD_INFO_BLK& block, int channel)
{
    if (channel < 0 || channel >= static_cast<int>(kMaxChannels))
        return {};
    return ReadFixedText(block.camera.cameraName[channel]);
}

bool SetCameraName(ZERD_INFO_BLK& block, int channel, std::string_view name)
{
    if (channel < 0 || channel >= static_cast<int>(kMaxChannels))
        return false;
    WriteFixedText(block.camera.cameraName[channel], name, kCameraNameLength);
    return true;
}

std::uint16_t NetworkPort(const ZERD_INFO_BLK& block)
{
    return block.network.port.get();
}

void SetNetworkPort(ZERD_INFO_BLK& block, std::uint16_t port)
{
    block.network.port.set(port);
}

std::uint8_t DvrTypeCode(const ZERD_INFO_BLK& block)
{
    return block.system.dvrTypeCode;
}

std::uint8_t MotionGridRow(const ZERD_INFO_BLK& block, int channel, int row)
{
    if (channel < 0 || channel >= static_cast<int>(kMaxChannels) || row < 0 || row > 7)
        return 0;
    const LeU32& word = row < 4 ? block.camera.motionAreaRows0to3[channel] : block.camera.motionAreaRows4to7[channel];
    return static_cast<std::uint8_t>(word.get() >> ((row % 4) * 8));
}

bool SetMotionGridRow(ZERD_INFO_BLK& block, int channel, int row, std::uint8_t columns)
{
    if (channel < 0 || channel >= static_cast<int>(kMaxChannels) || row < 0 || row > 7)
        return false;
    LeU32& word = row < 4 ? block.camera.motionAreaRows0to3[channel] : block.camera.motionAreaRows4to7[channel];
    const int shift = (row % 4) * 8;
    word.set((word.get() & ~(0xFFu << shift)) | (static_cast<std::uint32_t>(columns) << shift));
    return true;
}
