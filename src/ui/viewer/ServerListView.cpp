#include "ui/viewer/ServerListView.h"

#include "ui/controls/CtrlId.h"

#include <QHeaderView>
#include <QTableWidget>

namespace {

constexpr int kNameWidth = 144;
constexpr int kAddressWidth = 110;

} // namespace

ServerListView::ServerListView(QWidget* window)
    : QObject(window)
    , m_table(new QTableWidget(0, 2, window))
{
    SetCtrlId(m_table, kCtrlId);
    m_table->setGeometry(190, 643, 276, 123);
    m_table->setHorizontalHeaderLabels({"Server Name", "IP Address"});
    m_table->setColumnWidth(0, kNameWidth);
    m_table->setColumnWidth(1, kAddressWidth);
    m_table->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The address column takes whatever width the list has beyond the name.
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->verticalHeader()->hide();
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setShowGrid(true);
    connect(m_table, &QTableWidget::cellClicked, this, [this](int row, int) { emit rowClicked(row); });
}

void ServerListView::SetVisible(bool visible)
{
    m_table->setVisible(visible);
}

int ServerListView::RowCount() const
{
    return m_table->rowCount();
}

void ServerListView::InsertRow(int index, const ServerDescriptor& server)
{
    m_table->insertRow(index);
    int column = 0;
    for (const std::string& text : {server.name, server.address}) {
        auto* item = new QTableWidgetItem(QString::fromStdString(text));
        item->setTextAlignment(Qt::AlignCenter);
        m_table->setItem(index, column++, item);
    }
}

void ServerListView::RemoveRow(int index)
{
    m_table->removeRow(index);
}

void ServerListView::Select(int index)
{
    m_table->selectRow(index);
}

void ServerListView::Focus()
{
    m_table->setFocus();
}
