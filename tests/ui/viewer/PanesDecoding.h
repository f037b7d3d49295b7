#pragma once

#include "ui/viewer/LiveViewer.h"

#include <QTest>

#include <array>
#include <cstdint>

// True once every pane of the mask has decoded a new picture within `ms`.
inline bool PanesDecoding(LiveViewer& viewer, std::uint16_t panes, int ms)
{
    std::array<std::uint64_t, 16> before{};
    for (int p = 0; p < 16; ++p)
        before[p] = viewer.Decoder().GetStats(p).decoded;
    return QTest::qWaitFor(
        [&] {
            for (int p = 0; p < 16; ++p)
                if (((panes >> p) & 1u) && viewer.Decoder().GetStats(p).decoded <= before[p])
                    return false;
            return true;
        },
        ms);
}
