#include "core/servers/DemoServerSeed.h"

#include "core/config/RegConfig.h"

ServerRecord EmulatorServerRecord()
{
    ServerRecord record;
    record.name = "Emulator";
    record.ip = "127.0.0.1";
    record.port = 7050;
    record.account = "ADMIN";
    record.password = "5829";  // the emulator's factory administrator password
    record.dvrType = "MODEL_C";
    record.protocol = "TCP";
    record.ddns = "127.0.0.1";
    return record;
}

bool SeedEmulatorServer(CRegConfig& reg)
{
    if (reg.GetSubKeyCount(kServerInfoKey) > 0)
        return false;
    return ServerDirectory(reg).Write(EmulatorServerRecord());
}
