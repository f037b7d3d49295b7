#include "core/servers/ScanRow.h"

#include <cstdio>

ScanRow FormatScanRow(const DiscoveryRecord& record, const ModelNameTable& modelNames)
{
    const auto& m = record.macAddress;
    const auto& a = record.ipAddress;
    char mac[18];
    std::snprintf(mac, sizeof mac, "%2.2X %2.2X %2.2X %2.2X %2.2X %2.2X", m[0], m[1], m[2], m[3], m[4], m[5]);
    char ip[16];
    std::snprintf(ip, sizeof ip, "%d.%d.%d.%d", a[0], a[1], a[2], a[3]);

    ScanRow row;
    row.mac = mac;
    row.ip = ip;
    if (record.dvrTypeCode >= 1 && record.dvrTypeCode <= kModelCount)
        row.dvrType = modelNames[record.dvrTypeCode - 1];
    row.port = std::to_string(record.port);
    return row;
}
