// A PTZ driver for the tests: each command answers in its own way, so the
// client's handling of odd counts and missing entry points can be seen.

#define PTZ_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
int g_interfaceCalls = 0;
unsigned g_speed = 0;
}  // namespace

PTZ_EXPORT int InterfaceType(void*) { return ++g_interfaceCalls; }
PTZ_EXPORT int Speed(void*, unsigned speed) { return static_cast<int>(g_speed = speed); }

// Nothing to write: the packet is the trailer alone.
PTZ_EXPORT int PanLeft(void*, unsigned, unsigned char*) { return 0; }
// Counts no buffer can hold.
PTZ_EXPORT int PanRight(void*, unsigned, unsigned char*) { return -1; }
PTZ_EXPORT int TiltUp(void*, unsigned, unsigned char*) { return 126; }
// The most a driver may write.
PTZ_EXPORT int TiltDown(void*, unsigned id, unsigned char* b)
{
    for (int i = 0; i < 125; ++i)
        b[i] = static_cast<unsigned char>(id);
    return 125;
}
PTZ_EXPORT int BreakPTZ(void*, unsigned id, unsigned char* b)
{
    b[0] = 0xBB;
    b[1] = static_cast<unsigned char>(id);
    return 2;
}
// ZoomIn and the rest are not exported.

PTZ_EXPORT int TestInterfaceCalls() { return g_interfaceCalls; }
PTZ_EXPORT unsigned TestSpeed() { return g_speed; }
