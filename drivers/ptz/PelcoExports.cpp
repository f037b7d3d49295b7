// The 24 entry points of a Pelco driver, with C linkage and their exact names.
// The frames come from the protocol half linked beside this file.

#include "PelcoFrames.h"

#define PTZ_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// The client loads and calls a driver on one thread; the speed is the last
// one it set, in the client's 0..100 scale.
unsigned g_speed = 40;

int Move(unsigned ptzId, unsigned char* buffer, pelco::Motion motion)
{
    return pelco::FrameMotion(ptzId, motion, g_speed, buffer);
}

pelco::Motion Only(bool pelco::Motion::*field)
{
    pelco::Motion motion;
    motion.*field = true;
    return motion;
}

}  // namespace

PTZ_EXPORT int InterfaceType(void*) { return 1; }  // RS-485 line of the recorder

PTZ_EXPORT int Speed(void*, unsigned speed)
{
    g_speed = speed;
    return 1;
}

PTZ_EXPORT int IrisOpen(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::irisOpen)); }
PTZ_EXPORT int IrisClose(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::irisClose)); }
PTZ_EXPORT int PanLeft(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::panLeft)); }
PTZ_EXPORT int PanRight(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::panRight)); }
PTZ_EXPORT int TiltUp(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::tiltUp)); }
PTZ_EXPORT int TiltDown(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::tiltDown)); }
PTZ_EXPORT int ZoomIn(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::zoomIn)); }
PTZ_EXPORT int ZoomOut(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::zoomOut)); }
PTZ_EXPORT int FocusNear(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::focusNear)); }
PTZ_EXPORT int FocusFar(void*, unsigned id, unsigned char* b) { return Move(id, b, Only(&pelco::Motion::focusFar)); }
PTZ_EXPORT int BreakPTZ(void*, unsigned id, unsigned char* b) { return Move(id, b, pelco::Motion{}); }

// Presets: the command shape with the preset number (1..MaxPresetSlot) as a
// fourth argument; a number outside that writes nothing.
PTZ_EXPORT int PresetSet(void*, unsigned id, unsigned char* b, unsigned preset)
{
    return pelco::FramePreset(id, pelco::PresetOp::Set, preset, b);
}
PTZ_EXPORT int PresetClear(void*, unsigned id, unsigned char* b, unsigned preset)
{
    return pelco::FramePreset(id, pelco::PresetOp::Clear, preset, b);
}
PTZ_EXPORT int PresetCall(void*, unsigned id, unsigned char* b, unsigned preset)
{
    return pelco::FramePreset(id, pelco::PresetOp::Call, preset, b);
}
PTZ_EXPORT int MaxPresetSlot(void*) { return pelco::kMaxPreset; }

// No Pelco command of ours stands behind these: the command shape, nothing written.
PTZ_EXPORT int Home(void*, unsigned, unsigned char*) { return 0; }
PTZ_EXPORT int AutoPan(void*, unsigned, unsigned char*) { return 0; }
PTZ_EXPORT int CameraPower(void*, unsigned, unsigned char*) { return 0; }
PTZ_EXPORT int LightPower(void*, unsigned, unsigned char*) { return 0; }
PTZ_EXPORT int ExtendPTZ(void*, unsigned, unsigned char*) { return 0; }

PTZ_EXPORT int PTZDriverType(void*) { return pelco::kDriverType; }
PTZ_EXPORT const char* Desctiptor(void*) { return pelco::kDescription; }
