#pragma once

// Whether a channel's pictures may be decoded without the in-loop deblocking
// filter: when the part of the picture shown (shownWidth x shownHeight, the
// whole picture or the zoomed part) is scaled down to at most half its size
// in each direction. Scaling down by two or more blends the block edges the
// filter smooths into their neighbours, so the pane shows no difference worth
// the decode time the filter costs (bench_small_panes measures both). Each
// direction on its own, not the area: a pane as wide as the picture but a
// quarter of its height keeps every column, and with them the vertical block
// edges. Nothing shown, or a size not yet known, keeps the filter.
bool SkipsLoopFilter(int paneWidth, int paneHeight, int shownWidth, int shownHeight);
