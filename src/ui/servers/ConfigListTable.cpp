#include "ui/servers/ConfigListTable.h"

#include <QHeaderView>
#include <QScrollBar>

#include <algorithm>

ConfigListTable::ConfigListTable(const std::vector<Column>& columns, Qt::Alignment alignment, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent)
    , m_alignment(alignment)
{
    QStringList headers;
    for (const auto& column : columns) {
        headers << column.first;
        m_minimumWidths.push_back(column.second);
    }
    setHorizontalHeaderLabels(headers);
    horizontalHeader()->setDefaultAlignment(alignment | Qt::AlignVCenter);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    fitColumns();
}

void ConfigListTable::fitColumns()
{
    int width = 0;
    for (int i = 0; i < columnCount(); ++i) {
        const int wanted = std::max({m_minimumWidths[static_cast<std::size_t>(i)], sizeHintForColumn(i),
                                     horizontalHeader()->sectionSizeHint(i)});
        setColumnWidth(i, wanted);
        width += wanted;
    }
    // Every column shows whole, with room for the vertical scroll bar.
    setMinimumWidth(width + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
}

void ConfigListTable::InsertRow(int row, const QStringList& texts)
{
    insertRow(row);
    for (int column = 0; column < texts.size() && column < columnCount(); ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        item->setTextAlignment(m_alignment | Qt::AlignVCenter);
        setItem(row, column, item);
    }
    fitColumns();
}

QString ConfigListTable::Text(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text() : QString();
}

int ConfigListTable::SelectedRow() const
{
    const QList<QTableWidgetSelectionRange> ranges = selectedRanges();
    return ranges.isEmpty() ? -1 : ranges.front().topRow();
}
