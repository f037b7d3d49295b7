// The DDNS emulator process helper of the platform tests, built into this program too.
#include "platform/ddns/DdnsEmulatorProcess.cpp"
