#pragma once

#include "core/dvr/DiscoveryRecord.h"
#include "core/servers/ServerRecord.h"

#include <string>

// One row of the configuration dialog's DVR list: the texts shown for a
// recorder that answered the LAN scan.
struct ScanRow {
    std::string mac;      // "00 1A 2B 3C 4D 5E"
    std::string ip;       // dotted IPv4
    std::string dvrType;  // the model name at the record's position in the table
    std::string port;     // decimal
    bool operator==(const ScanRow&) const = default;
};

// A type code outside 1..6 shows as an empty type, which matches no entry
// of the DVR type list.
ScanRow FormatScanRow(const DiscoveryRecord& record, const ModelNameTable& modelNames);
