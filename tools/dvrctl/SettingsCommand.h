#pragma once

#include "DvrctlOptions.h"

// "settings get": the recorder's settings block as JSON.
// "settings put FILE": every section the file changes is written, after every
// field passed the setup pages' checks; a bad field is named on one line and
// nothing is written.
int RunSettings(const DvrctlOptions& options);
