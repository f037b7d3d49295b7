#pragma once

#include "DvrctlOptions.h"

// ddns NAME --server HOST[:PORT]: resolves a recorder's DDNS name and prints
// "ADDRESS PORT".
int RunDdns(const DvrctlOptions& options);
