// The recorder emulator process helper of the integration tests, built into this program too.
#include "integration/netctrl/EmulatorProcess.cpp"
