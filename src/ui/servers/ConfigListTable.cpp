#include "ui/servers/ConfigListTable.h"

#include <QHeaderView>
#include <QScrollBar>

ConfigListTable::ConfigListTable(const std::vector<Column>& columns, Qt::Alignment alignment, QWidget* parent)
    : QTableWidget(0, static_cast<int>(columns.size()), parent)
    , m_alignment(alignment)
{
    QStringList headers;
    for (const auto& column : columns)
        headers << column.first;
    setHorizontalHeaderLabels(headers);
    int width = 0;
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        setColumnWidth(i, columns[static_cast<std::size_t>(i)].second);
        width += columns[static_cast<std::size_t>(i)].second;
    }
    // Every column shows whole, with room for the vertical scroll bar.
    setMinimumWidth(width + 2 * frameWidth() + verticalScrollBar()->sizeHint().width());
    horizontalHeader()->setDefaultAlignment(alignment | Qt::AlignVCenter);
    verticalHeader()->hide();
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
}

void ConfigListTable::InsertRow(int row, const QStringList& texts)
{
    insertRow(row);
    for (int column = 0; column < texts.size() && column < columnCount(); ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        item->setTextAlignment(m_alignment | Qt::AlignVCenter);
        setItem(row, column, item);
    }
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
