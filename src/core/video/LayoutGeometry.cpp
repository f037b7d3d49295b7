#include "core/video/LayoutGeometry.h"

namespace {

// The nine-pane cell of the windowed layout is one pixel wider than 800 / 3,
// so its right column reaches x = 801.
constexpr int kWindowedNineCellWidth = 267;

int ChannelAt(int startChannel, int k)
{
    return ((startChannel % kPaneCount) + kPaneCount + k) % kPaneCount;
}

PaneLayout HiddenLayout()
{
    PaneLayout layout;
    layout.fill(kHiddenPane);
    return layout;
}

void PlaceGrid(PaneLayout& layout, int startChannel, int columns, int rows, int cellWidth, int cellHeight)
{
    int k = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c, ++k)
            layout[ChannelAt(startChannel, k)] =
                PaneRect{c * cellWidth, r * cellHeight, c * cellWidth + cellWidth, r * cellHeight + cellHeight};
}

// One large pane of 3 x 3 quarter cells, a right column of three cells, a
// bottom row of four that reaches the bottom edge.
void PlaceEight(PaneLayout& layout, int startChannel, int width, int height)
{
    const int w = width / 4;
    const int h = height / 4;
    int k = 0;
    layout[ChannelAt(startChannel, k++)] = PaneRect{0, 0, 3 * w, 3 * h};
    for (int r = 0; r < 3; ++r)
        layout[ChannelAt(startChannel, k++)] = PaneRect{3 * w, r * h, 4 * w, r * h + h};
    for (int c = 0; c < 4; ++c)
        layout[ChannelAt(startChannel, k++)] = PaneRect{c * w, 3 * h, c * w + w, height};
}

} // namespace

LayoutMode LayoutModeForButton(int buttonId)
{
    switch (buttonId) {
    case kBtnLayoutSingle: return LayoutMode::Single;
    case kBtnLayoutQuad: return LayoutMode::Quad;
    case kBtnLayoutNine: return LayoutMode::Nine;
    case kBtnLayoutEight: return LayoutMode::Eight;
    case kBtnLayoutSixteen: return LayoutMode::Sixteen;
    default: return LayoutMode::None;
    }
}

int ButtonForLayoutMode(LayoutMode mode)
{
    switch (mode) {
    case LayoutMode::Single: return kBtnLayoutSingle;
    case LayoutMode::Quad: return kBtnLayoutQuad;
    case LayoutMode::Nine: return kBtnLayoutNine;
    case LayoutMode::Eight: return kBtnLayoutEight;
    default: return kBtnLayoutSixteen;
    }
}

PaneLayout WindowedLayout(LayoutMode mode, int startChannel)
{
    PaneLayout layout = HiddenLayout();
    switch (mode) {
    case LayoutMode::Single:
        layout[ChannelAt(startChannel, 0)] = PaneRect{0, 0, kVideoWindowWidth, kVideoWindowHeight};
        break;
    case LayoutMode::Quad:
        PlaceGrid(layout, startChannel, 2, 2, kVideoWindowWidth / 2, kVideoWindowHeight / 2);
        break;
    case LayoutMode::Nine:
        PlaceGrid(layout, startChannel, 3, 3, kWindowedNineCellWidth, kVideoWindowHeight / 3);
        break;
    case LayoutMode::Eight:
        PlaceEight(layout, startChannel, kVideoWindowWidth, kVideoWindowHeight);
        break;
    default:
        PlaceGrid(layout, startChannel, 4, 4, kVideoWindowWidth / 4, kVideoWindowHeight / 4);
        break;
    }
    return layout;
}

PaneLayout FullScreenLayout(LayoutMode mode, int startChannel, int width, int height)
{
    PaneLayout layout = HiddenLayout();
    switch (mode) {
    case LayoutMode::Single:
        layout[ChannelAt(startChannel, 0)] = PaneRect{0, 0, width, height};
        break;
    case LayoutMode::Quad:
        PlaceGrid(layout, startChannel, 2, 2, width / 2, height / 2);
        break;
    case LayoutMode::Eight:
        PlaceEight(layout, startChannel, width, height);
        break;
    case LayoutMode::Sixteen:
        PlaceGrid(layout, startChannel, 4, 4, width / 4, height / 4);
        break;
    default:
        PlaceGrid(layout, startChannel, 3, 3, width / 3, height / 3);
        break;
    }
    return layout;
}

PaneLayout PairedLayout(const PairedLayoutInput& in)
{
    PaneLayout layout = HiddenLayout();
    const int selected = ChannelAt(in.selectedChannel, 0);
    const int width = in.fullScreen ? in.width : kVideoWindowWidth;
    const int height = in.fullScreen ? in.height : kVideoWindowHeight;
    if (in.setupMode && !in.fullScreen)
        layout[selected] = PaneRect{0, 0, 320, 240};
    else if (in.perCameraStreams)
        layout[selected] = PaneRect{0, 0, width, height};
    else {
        layout[0] = PaneRect{0, 0, width, height / 2};
        layout[1] = PaneRect{0, height / 2, width, height};
    }
    return layout;
}
