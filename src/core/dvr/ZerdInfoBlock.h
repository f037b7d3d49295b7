#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "core/dvr/LittleEndian.h"

// The recorder's whole configuration, byte for byte as it travels: 3820 bytes
// in six numbered setup sections and a 4-byte tail. Every member is a byte or
// a byte array, so the struct has no padding and may be copied to and from the
// wire with memcpy. Texts are single-byte, NUL-padded, and have no terminator
// when they fill their field. Bytes the client does not interpret are kept as
// "reserved" members and carried through unchanged.

constexpr std::size_t kMaxChannels = 16;
constexpr std::size_t kMaxSensors = 8;
constexpr std::size_t kScheduleDays = 7;   // 0 = Sunday .. 6 = Saturday
constexpr std::size_t kScheduleHours = 24;

// Section 0.
struct DvrSystemSection {
    std::uint8_t language;        // 0 ENGLISH, 1 CHINESE, 2 JAPANESE, 3 KOREAN
    std::uint8_t recorderId;      // 0..255
    std::uint8_t daylightSaving;  // 0 No, 1 Yes
    std::uint8_t videoStandard;   // 0 NTSC, 1 PAL
    char adminPassword[9];        // account ADMIN, up to 8 characters
    char guest0Password[9];       // account GUEST0
    char guest1Password[9];       // account GUEST1
    std::uint8_t mouseSensor;     // 1 Low, 2 Middle, 3 High
    std::uint8_t alphablend;      // 1 transparent .. 10 opaque
    std::uint8_t dvrTypeCode;     // 1..6 = MODEL_A..MODEL_F; the client never writes it
    std::uint8_t reserved34[2];
};

// Section 1.
struct DvrCameraSection {
    LeU32 motionAreaRows0to3[kMaxChannels]; // bit r*8+c: cell row r (0..3), column c (0..7) watched
    LeU32 motionAreaRows4to7[kMaxChannels]; // bit (r-4)*8+c: cell row r (4..7)
    std::uint8_t reserved128[384];
    char cameraName[kMaxChannels][9];
    std::uint8_t motionSensitivity[kMaxChannels]; // 10..100
    std::uint8_t recordingQuality[kMaxChannels];  // index into the quality list
    std::uint8_t frameRate[kMaxChannels];         // 0..30 frames per second
    std::uint8_t ptzProtocol[kMaxChannels];       // index into the PTZ protocol list, 0 = None
    std::uint8_t ptzAddress[kMaxChannels];
    std::uint8_t brightness[kMaxChannels];
    std::uint8_t contrast[kMaxChannels];
    std::uint8_t hue[kMaxChannels];
    LeU16 ptzPresentMask;          // bit n: channel n has a PTZ protocol other than None
    std::uint8_t reserved786;      // the camera page's Default writes 0 here
    std::uint8_t reserved787;
};

// Section 2: eight alarm sensor inputs.
struct DvrSensorSection {
    LeU16 cameraLinks[kMaxSensors];       // bit n = camera channel n
    std::uint8_t outputLinks[kMaxSensors]; // bit k = output k
    std::uint8_t startHour[kMaxSensors];   // 0..24
    std::uint8_t endHour[kMaxSensors];     // 0..24; 24 when not greater than the start
    LeU32 flags[kMaxSensors];              // see SensorFlags.h
};

// Section 3.
struct DvrNetworkSection {
    LeU16 eventMailMask;   // bit 0 ALL, 1 POWER, 2 SENSOR, 3 RECORD, 4 CAMERA, 5 LAN, 6 BACKUP, 7 SETUP, 8 TIME
    LeU16 port;
    std::uint8_t ipAddress[4];     // first octet first
    std::uint8_t gateway[4];
    std::uint8_t subnetMask[4];
    std::uint8_t dnsServer[4];
    std::uint8_t smtpServer[4];
    char mailServerId[16];
    char mailServerPassword[16];
    char dvrName[50];
    char mailSender[50];
    char mailReceiver[50];
    std::uint8_t mailServerConfirm; // 0 NOT, 1 YES
    std::uint8_t macAddress[6];     // first byte first; the client never writes it
    std::uint8_t reserved213[3];
};

// Section 4. Group A is cameras 1..8, group B cameras 9..16; index 0 = A, 1 = B.
struct DvrRecordSetSection {
    LeU16 hiddenValue[2];              // meaning unknown; the page's Default sets 10
    std::uint8_t resolution[2];        // index into the resolution list
    std::uint8_t watermark[2];         // 0 Disable, 1 Enable
    std::uint8_t watermarkStrength[2];
    std::uint8_t watermarkKey[2];
    std::uint8_t audioRecord[2];       // [0] bit k = camera k+1; [1] bit k = camera k+5
    std::uint8_t videoRecordChoice;    // one of bits 0..3 (choices 1..4), 0 = none
    std::uint8_t reserved15;
};

// Schedule values per camera, day and hour.
enum class ScheduleMode : std::uint8_t { Continuous = 0, Motion = 1, Dual = 2, Sensor = 3, None = 4 };

// Section 5: byte for camera c, day d, hour h at c*168 + d*24 + h.
struct DvrScheduleSection {
    std::uint8_t mode[kMaxChannels][kScheduleDays][kScheduleHours]; // ScheduleMode values
};

struct ZERD_INFO_BLK {
    DvrSystemSection system;
    DvrCameraSection camera;
    DvrSensorSection sensor;
    DvrNetworkSection network;
    DvrRecordSetSection recordSet;
    DvrScheduleSection schedule;
    std::uint8_t tail[4]; // kept and copied with the block, never sent as a section
};

constexpr std::size_t kSettingsBlockSize = 3820;

static_assert(std::is_trivially_copyable_v<ZERD_INFO_BLK> && std::is_standard_layout_v<ZERD_INFO_BLK>);
static_assert(alignof(ZERD_INFO_BLK) == 1);
static_assert(sizeof(ZERD_INFO_BLK) == kSettingsBlockSize);
static_assert(sizeof(DvrSystemSection) == 36);
static_assert(sizeof(DvrCameraSection) == 788);
static_assert(sizeof(DvrSensorSection) == 72);
static_assert(sizeof(DvrNetworkSection) == 216);
static_assert(sizeof(DvrRecordSetSection) == 16);
static_assert(sizeof(DvrScheduleSection) == 2688);

static_assert(offsetof(ZERD_INFO_BLK, system) == 0);
static_assert(offsetof(ZERD_INFO_BLK, camera) == 36);
static_assert(offsetof(ZERD_INFO_BLK, sensor) == 824);
static_assert(offsetof(ZERD_INFO_BLK, network) == 896);
static_assert(offsetof(ZERD_INFO_BLK, recordSet) == 1112);
static_assert(offsetof(ZERD_INFO_BLK, schedule) == 1128);
static_assert(offsetof(ZERD_INFO_BLK, tail) == 3816);

static_assert(offsetof(DvrSystemSection, adminPassword) == 4);
static_assert(offsetof(DvrSystemSection, guest0Password) == 13);
static_assert(offsetof(DvrSystemSection, guest1Password) == 22);
static_assert(offsetof(DvrSystemSection, mouseSensor) == 31);
static_assert(offsetof(DvrSystemSection, alphablend) == 32);
static_assert(offsetof(DvrSystemSection, dvrTypeCode) == 33);

static_assert(offsetof(DvrCameraSection, motionAreaRows4to7) == 64);
static_assert(offsetof(DvrCameraSection, reserved128) == 128);
static_assert(offsetof(DvrCameraSection, cameraName) == 512);
static_assert(offsetof(DvrCameraSection, motionSensitivity) == 656);
static_assert(offsetof(DvrCameraSection, recordingQuality) == 672);
static_assert(offsetof(DvrCameraSection, frameRate) == 688);
static_assert(offsetof(DvrCameraSection, ptzProtocol) == 704);
static_assert(offsetof(DvrCameraSection, ptzAddress) == 720);
static_assert(offsetof(DvrCameraSection, brightness) == 736);
static_assert(offsetof(DvrCameraSection, contrast) == 752);
static_assert(offsetof(DvrCameraSection, hue) == 768);
static_assert(offsetof(DvrCameraSection, ptzPresentMask) == 784);
static_assert(offsetof(DvrCameraSection, reserved786) == 786);

static_assert(offsetof(DvrSensorSection, outputLinks) == 16);
static_assert(offsetof(DvrSensorSection, startHour) == 24);
static_assert(offsetof(DvrSensorSection, endHour) == 32);
static_assert(offsetof(DvrSensorSection, flags) == 40);

static_assert(offsetof(DvrNetworkSection, port) == 2);
static_assert(offsetof(DvrNetworkSection, ipAddress) == 4);
static_assert(offsetof(DvrNetworkSection, gateway) == 8);
static_assert(offsetof(DvrNetworkSection, subnetMask) == 12);
static_assert(offsetof(DvrNetworkSection, dnsServer) == 16);
static_assert(offsetof(DvrNetworkSection, smtpServer) == 20);
static_assert(offsetof(DvrNetworkSection, mailServerId) == 24);
static_assert(offsetof(DvrNetworkSection, mailServerPassword) == 40);
static_assert(offsetof(DvrNetworkSection, dvrName) == 56);
static_assert(offsetof(DvrNetworkSection, mailSender) == 106);
static_assert(offsetof(DvrNetworkSection, mailReceiver) == 156);
static_assert(offsetof(DvrNetworkSection, mailServerConfirm) == 206);
static_assert(offsetof(DvrNetworkSection, macAddress) == 207);
static_assert(offsetof(DvrNetworkSection, reserved213) == 213);

static_assert(offsetof(DvrRecordSetSection, resolution) == 4);
static_assert(offsetof(DvrRecordSetSection, watermark) == 6);
static_assert(offsetof(DvrRecordSetSection, watermarkStrength) == 8);
static_assert(offsetof(DvrRecordSetSection, watermarkKey) == 10);
static_assert(offsetof(DvrRecordSetSection, audioRecord) == 12);
static_assert(offsetof(DvrRecordSetSection, videoRecordChoice) == 14);
static_assert(offsetof(DvrRecordSetSection, reserved15) == 15);
