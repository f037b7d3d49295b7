#pragma once

// Where the segments of a level bar go: equal segments stacked from the
// bottom of the bar, a gap between each, a margin above and below.
class BarChartLayout {
public:
    static constexpr int kSegmentHeight = 2;
    static constexpr int kGap = 1;
    static constexpr int kMargin = 1;

    explicit BarChartLayout(int height);

    // As many whole segments as fit between the margins.
    int SegmentCount() const { return m_count; }
    // Top row of segment index (0 = the bottom one).
    int SegmentTop(int index) const;
    // Segments lit for a position in min..max, counted from the bottom and
    // rounded down; a position outside the range lights none or all, and an
    // empty or unbounded range lights none.
    int LitCount(double position, double minimum, double maximum) const;

private:
    int m_height;
    int m_count;
};
