#pragma once

#include <array>
#include <cstddef>

// The entry points a PTZ driver library exports, by their exact names and in
// the order the client looks them up, and the calling shapes of those it
// calls. Every entry point uses the C calling convention.

namespace ptz {

enum class Entry {
    Speed, PresetSet, PresetClear, PresetCall, Home, AutoPan, CameraPower, LightPower, PTZDriverType,
    IrisOpen, IrisClose, PanLeft, PanRight, TiltUp, TiltDown, ZoomIn, ZoomOut, FocusNear, FocusFar,
    BreakPTZ, ExtendPTZ, InterfaceType, MaxPresetSlot, Desctiptor,
};

inline constexpr std::size_t kEntryCount = 24;

inline constexpr std::array<const char*, kEntryCount> kEntryNames = {
    "Speed", "PresetSet", "PresetClear", "PresetCall", "Home", "AutoPan", "CameraPower", "LightPower",
    "PTZDriverType", "IrisOpen", "IrisClose", "PanLeft", "PanRight", "TiltUp", "TiltDown", "ZoomIn",
    "ZoomOut", "FocusNear", "FocusFar", "BreakPTZ", "ExtendPTZ", "InterfaceType", "MaxPresetSlot",
    "Desctiptor"};

constexpr std::size_t IndexOf(Entry entry) { return static_cast<std::size_t>(entry); }

// The window handle is opaque to drivers; the client passes its main window's.
using InterfaceTypeFn = int (*)(void* window);
using SpeedFn = int (*)(void* window, unsigned speed);
// Writes the command's bytes to the start of buffer; returns how many.
using CommandFn = int (*)(void* window, unsigned ptzId, unsigned char* buffer);
// Our drivers' shape of PresetSet, PresetClear and PresetCall: a command with
// the preset number (from 1) as a fourth argument.
using PresetFn = int (*)(void* window, unsigned ptzId, unsigned char* buffer, unsigned preset);
// Our drivers' MaxPresetSlot: the highest preset number.
using MaxPresetSlotFn = int (*)(void* window);

// The commands the client issues, each an entry point of the command shape.
enum class Command { IrisOpen, IrisClose, PanLeft, PanRight, TiltUp, TiltDown, ZoomIn, ZoomOut, FocusNear, FocusFar, BreakPTZ };

constexpr Entry EntryOf(Command command)
{
    return static_cast<Entry>(static_cast<int>(Entry::IrisOpen) + static_cast<int>(command));
}

enum class PresetAction { Set, Clear, Call };

constexpr Entry EntryOf(PresetAction action)
{
    return action == PresetAction::Set ? Entry::PresetSet
         : action == PresetAction::Clear ? Entry::PresetClear
                                         : Entry::PresetCall;
}

}  // namespace ptz
