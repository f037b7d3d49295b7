#pragma once

namespace benchsupport {

// "1.5M", "4000k" or "4000000" bits a second, 10k to 100M; -1 for anything else.
long ParseBitRate(const char* text);

} // namespace benchsupport
