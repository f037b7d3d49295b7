#pragma once

#include "DvrctlOptions.h"

// ptz --channel N COMMAND [K] [--ms MS]: loads channel N's PTZ driver from the
// recorder's settings block as the viewer does and sends the command through
// the viewer's driver path; a movement is stopped with BreakPTZ after MS
// milliseconds (default 500).
int RunPtz(const DvrctlOptions& options);
