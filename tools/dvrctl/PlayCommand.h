#pragma once

#include "DvrctlOptions.h"

// play FILE --shot OUT.png [--layout 1|4|8|9|16] [--timeout SECONDS]: plays a
// program-stream file into the video window and saves a picture of the window
// once the first pictures are shown. The layout starts at the file's lowest
// video channel.
int RunPlay(const DvrctlOptions& options);
