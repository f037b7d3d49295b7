#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/dvr/ZerdInfoBlock.h"

// Sections of the settings block, as numbered in the section writes.
constexpr std::uint8_t kSectionSystem = 0;
constexpr std::uint8_t kSectionCamera = 1;
constexpr std::uint8_t kSectionSensor = 2;
constexpr std::uint8_t kSectionNetwork = 3;
constexpr std::uint8_t kSectionRecordSet = 4;
constexpr std::uint8_t kSectionSchedule = 5;
constexpr std::uint8_t kSectionCount = 6;

struct SectionBounds {
    std::size_t offset; // from the start of the block
    std::size_t size;
};

// Nullopt for a section number outside 0..5.
std::optional<SectionBounds> SectionSpan(std::uint8_t section);

// The block's bytes in wire order.
const std::uint8_t* BlockBytes(const ZERD_INFO_BLK& block);
std::uint8_t* BlockBytes(ZERD_INFO_BLK& block);
std::vector<std::uint8_t> SettingsBlockBytes(const ZERD_INFO_BLK& block);

// What a new recorder of the given model starts with: the setup pages'
// defaults (passwords "5829", port 7050, camera names "CAM1".."CAM16", ...)
// and the type code at byte 33. A code outside 1..6 is stored as given
// (truncated to a byte); ValidateSettingsBlock refuses such a block.
ZERD_INFO_BLK MakeDefaultSettingsBlock(int dvrTypeCode);

// Replaces one section with exactly its size in bytes; false (block
// unchanged) for a bad section number or a length other than the section's
// size. The recorder's identity, its type code and MAC address, is kept: the
// client may not change them.
bool ApplySection(ZERD_INFO_BLK& block, std::uint8_t section, const std::uint8_t* data, std::size_t length);
// The section's bytes; empty for a bad section number.
std::vector<std::uint8_t> ExtractSection(const ZERD_INFO_BLK& block, std::uint8_t section);

// Checks bytes from outside: exactly 3820 bytes and a known type code. Other
// fields are kept as they come: a value outside its range is the reader's to
// show as unset.
bool ValidateSettingsBlock(const std::uint8_t* data, std::size_t length, std::string* error);
// ValidateSettingsBlock, then the block.
std::optional<ZERD_INFO_BLK> ParseSettingsBlock(const std::uint8_t* data, std::size_t length, std::string* error);

// Accounts are "ADMIN", "GUEST0" and "GUEST1" (exact spelling). Nullopt for
// any other name.
std::optional<std::string> AccountPassword(const ZERD_INFO_BLK& block, std::string_view account);
// Passwords keep at most 8 characters, so the ninth byte stays 0. False for
// an unknown account.
bool SetAccountPassword(ZERD_INFO_BLK& block, std::string_view account, std::string_view password);

// Channel 0..15; empty text / false outside.
std::string CameraName(const ZERD_INFO_BLK& block, int channel);
// At most 8 characters are kept, as the camera page does.
bool SetCameraName(ZERD_INFO_BLK& block, int channel, std::string_view name);

std::uint16_t NetworkPort(const ZERD_INFO_BLK& block);
void SetNetworkPort(ZERD_INFO_BLK& block, std::uint16_t port);
std::uint8_t DvrTypeCode(const ZERD_INFO_BLK& block);

// Motion grid row 0..7 of a channel: bit c = column c watched. 0 / false
// for a channel or row out of range.
std::uint8_t MotionGridRow(const ZERD_INFO_BLK& block, int channel, int row);
bool SetMotionGridRow(ZERD_INFO_BLK& block, int channel, int row, std::uint8_t columns);
