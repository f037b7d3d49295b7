#pragma once

#include <QStringList>
#include <QTableWidget>

#include <utility>
#include <vector>

// The dialog's report-style lists: columns at least their given widths and
// wide enough for what they hold, grid lines, whole rows selected, nothing
// edited in place.
class ConfigListTable : public QTableWidget {
public:
    using Column = std::pair<QString, int>;  // header text, width in pixels

    ConfigListTable(const std::vector<Column>& columns, Qt::Alignment alignment, QWidget* parent = nullptr);

    void InsertRow(int row, const QStringList& texts);
    // The text of a cell; empty when there is none.
    QString Text(int row, int column) const;
    // The first selected row, -1 when none is.
    int SelectedRow() const;

private:
    // Widens the columns to their header and cells, and the list to its columns.
    void fitColumns();

    Qt::Alignment m_alignment;
    std::vector<int> m_minimumWidths;
};
