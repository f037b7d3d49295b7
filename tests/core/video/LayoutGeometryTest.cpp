#include "core/video/LayoutGeometry.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Channels of the visible panes in reading order (top to bottom, left to right).
std::vector<int> ReadingOrder(const PaneLayout& layout)
{
    std::vector<std::pair<std::pair<int, int>, int>> visible;
    for (int ch = 0; ch < kPaneCount; ++ch)
        if (!layout[ch].IsHidden())
            visible.push_back({{layout[ch].top, layout[ch].left}, ch});
    std::sort(visible.begin(), visible.end());
    std::vector<int> order;
    for (auto& v : visible)
        order.push_back(v.second);
    return order;
}

int VisibleCount(const PaneLayout& layout)
{
    int n = 0;
    for (const PaneRect& r : layout)
        n += r.IsHidden() ? 0 : 1;
    return n;
}

TEST(LayoutGeometry, ButtonsMapToModesBothWays)
{
    for (int id = 4001; id <= 4005; ++id)
        EXPECT_EQ(ButtonForLayoutMode(LayoutModeForButton(id)), id);
    EXPECT_EQ(LayoutModeForButton(4006), LayoutMode::None);
    EXPECT_EQ(ButtonForLayoutMode(LayoutMode::None), 4005);
}

TEST(LayoutGeometry, WindowedGridsHaveTheirPaneCountsAndCells)
{
    const struct {
        LayoutMode mode;
        int visible;
        int channel;
        PaneRect rect;
    } cases[] = {
        {LayoutMode::Single, 1, 0, {0, 0, 800, 600}},
        {LayoutMode::Quad, 4, 3, {400, 300, 800, 600}},
        {LayoutMode::Sixteen, 16, 5, {200, 150, 400, 300}},
        {LayoutMode::Nine, 9, 8, {534, 400, 801, 600}}, // the last column reaches pixel 801
        // Eight: a large pane, a right column and a bottom row.
        {LayoutMode::Eight, 8, 0, {0, 0, 600, 450}},
        {LayoutMode::Eight, 8, 3, {600, 300, 800, 450}},
        {LayoutMode::Eight, 8, 4, {0, 450, 200, 600}},
        {LayoutMode::Eight, 8, 7, {600, 450, 800, 600}},
    };
    for (const auto& c : cases) {
        const PaneLayout layout = WindowedLayout(c.mode, 0);
        EXPECT_EQ(VisibleCount(layout), c.visible);
        EXPECT_EQ(layout[c.channel], c.rect) << int(c.mode) << " pane " << c.channel;
    }
}

TEST(LayoutGeometry, StartChannelWrapsPastFifteen)
{
    EXPECT_EQ(ReadingOrder(WindowedLayout(LayoutMode::Quad, 14)), (std::vector<int>{14, 15, 0, 1}));

    PaneLayout eight = WindowedLayout(LayoutMode::Eight, 10);
    EXPECT_EQ(eight[10], (PaneRect{0, 0, 600, 450}));
    EXPECT_EQ(eight[15], (PaneRect{200, 450, 400, 600}));
    EXPECT_EQ(eight[1], (PaneRect{600, 450, 800, 600}));
    for (int ch = 2; ch < 10; ++ch)
        EXPECT_TRUE(eight[ch].IsHidden()) << ch;

    // Sixteen panes starting at 5: pane 0 of the grid shows channel 5.
    PaneLayout sixteen = WindowedLayout(LayoutMode::Sixteen, 5);
    EXPECT_EQ(sixteen[5], (PaneRect{0, 0, 200, 150}));
    EXPECT_EQ(sixteen[4], (PaneRect{600, 450, 800, 600}));
}

TEST(LayoutGeometry, UnsetModeIsSixteenWindowedAndNineFullScreen)
{
    EXPECT_EQ(VisibleCount(WindowedLayout(LayoutMode::None, 0)), 16);
    PaneLayout full = FullScreenLayout(LayoutMode::None, 0, 1024, 768);
    EXPECT_EQ(VisibleCount(full), 9);
    EXPECT_EQ(full[4], (PaneRect{341, 256, 682, 512}));
}

TEST(LayoutGeometry, FullScreenUsesIntegerFractionsOfTheScreen)
{
    PaneLayout sixteen = FullScreenLayout(LayoutMode::Sixteen, 0, 1024, 768);
    EXPECT_EQ(sixteen[0], (PaneRect{0, 0, 256, 192}));
    EXPECT_EQ(sixteen[15], (PaneRect{768, 576, 1024, 768}));

    EXPECT_EQ(FullScreenLayout(LayoutMode::Single, 7, 1366, 768)[7], (PaneRect{0, 0, 1366, 768}));
    EXPECT_EQ(FullScreenLayout(LayoutMode::Quad, 0, 1366, 767)[3], (PaneRect{683, 383, 1366, 766}));

    // 1366 / 4 = 341: the large pane is 3 cells, the bottom row runs to the screen's bottom.
    PaneLayout eight = FullScreenLayout(LayoutMode::Eight, 0, 1366, 769);
    EXPECT_EQ(eight[0], (PaneRect{0, 0, 1023, 576}));
    EXPECT_EQ(eight[1], (PaneRect{1023, 0, 1364, 192}));
    EXPECT_EQ(eight[4], (PaneRect{0, 576, 341, 769}));
    EXPECT_EQ(eight[7], (PaneRect{1023, 576, 1364, 769}));
}

TEST(LayoutGeometry, PairedLayoutFollowsSetupAndStreamKind)
{
    PairedLayoutInput in;
    in.selectedChannel = 2;
    in.setupMode = true;
    PaneLayout setup = PairedLayout(in);
    EXPECT_EQ(setup[2], (PaneRect{0, 0, 320, 240}));
    EXPECT_EQ(VisibleCount(setup), 1);

    in.setupMode = false;
    in.perCameraStreams = true;
    EXPECT_EQ(PairedLayout(in)[2], (PaneRect{0, 0, 800, 600}));

    in.perCameraStreams = false;
    PaneLayout shared = PairedLayout(in);
    EXPECT_EQ(VisibleCount(shared), 2);
    EXPECT_EQ(shared[0], (PaneRect{0, 0, 800, 300}));
    EXPECT_EQ(shared[1], (PaneRect{0, 300, 800, 600}));

    in.fullScreen = true;
    in.width = 1280;
    in.height = 1023;
    PaneLayout fullShared = PairedLayout(in);
    EXPECT_EQ(fullShared[0], (PaneRect{0, 0, 1280, 511}));
    EXPECT_EQ(fullShared[1], (PaneRect{0, 511, 1280, 1023}));

    in.perCameraStreams = true;
    in.selectedChannel = 17;  // out of range wraps like the layouts
    EXPECT_EQ(PairedLayout(in)[1], (PaneRect{0, 0, 1280, 1023}));
}

TEST(LayoutGeometry, EveryLayoutKeepsVisiblePanesApartAndInsideTheScreen)
{
    const LayoutMode modes[] = {LayoutMode::Single, LayoutMode::Quad, LayoutMode::Nine, LayoutMode::Eight,
                                LayoutMode::Sixteen};
    for (LayoutMode mode : modes) {
        for (int start = 0; start < 16; ++start) {
            for (int full = 0; full < 2; ++full) {
                PaneLayout layout = full ? FullScreenLayout(mode, start, 1920, 1080) : WindowedLayout(mode, start);
                const int maxRight = full ? 1920 : 801;
                const int maxBottom = full ? 1080 : 600;
                for (int a = 0; a < 16; ++a) {
                    const PaneRect& r = layout[a];
                    if (r.IsHidden())
                        continue;
                    EXPECT_GT(r.Width(), 0);
                    EXPECT_LE(r.right, maxRight);
                    EXPECT_LE(r.bottom, maxBottom);
                    for (int b = a + 1; b < 16; ++b) {
                        const PaneRect& o = layout[b];
                        if (o.IsHidden())
                            continue;
                        const bool apart = r.right <= o.left || o.right <= r.left || r.bottom <= o.top ||
                                           o.bottom <= r.top;
                        EXPECT_TRUE(apart) << "mode " << int(mode) << " start " << start << " panes " << a << "," << b;
                    }
                }
            }
        }
    }
}

} // namespace
