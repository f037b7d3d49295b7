#pragma once

#include <string_view>
#include <variant>

#include "core/dvr/ZerdInfoBlock.h"
#include "core/setup/SettingsFieldCheck.h"

// Settings from a file in the JSON form the settings block is printed in
// (the bare settings object, or the {"mode":..,"settings":{..}} form). Every
// field that is given replaces the recorder's value in `base`; fields left
// out keep it, so one file can configure several recorders. Arrays hold all
// their entries. Not taken from the file: the reserved bytes and the tail
// (the recorder's own are carried through), a sensor's raw flags word (its
// named parts are), and the PTZ-present mask, which follows the channels'
// PTZ protocols as the camera page keeps it. The DVR type code and the MAC
// address are the recorder's: a file may only repeat them. Integers must fit
// their field; a sensor's end hour not after its start becomes 24. The
// result still has to pass CheckSettingsBlock.
std::variant<ZERD_INFO_BLK, FieldProblem> ReadSettingsJson(std::string_view text, const ZERD_INFO_BLK& base);
