#include "core/video/LoopFilterRule.h"

bool SkipsLoopFilter(int paneWidth, int paneHeight, int shownWidth, int shownHeight)
{
    if (paneWidth <= 0 || paneHeight <= 0 || shownWidth <= 0 || shownHeight <= 0)
        return false;
    return 2 * paneWidth <= shownWidth && 2 * paneHeight <= shownHeight;
}
