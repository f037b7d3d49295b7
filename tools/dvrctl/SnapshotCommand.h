#pragma once

#include "DvrctlOptions.h"

// snapshot --channel N [--timeout SECONDS] OUT.jpg: logs in, starts live
// video of camera N through the viewer's live path and writes the first
// decoded picture at its full size.
int RunSnapshot(const DvrctlOptions& options);
