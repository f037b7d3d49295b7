// The recorder and DDNS emulator processes as the other integration and
// platform tests start them, built into this program too.
#include "integration/netctrl/EmulatorProcess.cpp"
#include "platform/ddns/DdnsEmulatorProcess.cpp"
