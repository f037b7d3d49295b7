#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

#include "support/QtTestApp.h"
#include "ui/controls/CtrlId.h"
#include "ui/viewer/ServerListView.h"

namespace {

TEST(ServerListColumns, NameKeepsItsWidthAndAddressFillsTheRestOfTheList)
{
    EnsureQApplication();
    QWidget window;
    window.resize(800, 800);
    ServerListView list(&window);
    list.InsertRow(0, {"Front door", "127.0.0.1"});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    auto* table = FindCtrl<QTableWidget>(&window, ServerListView::kCtrlId);
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columnWidth(0), 144);
    EXPECT_GE(table->columnWidth(1), 110);
    // No empty strip right of the last column.
    EXPECT_EQ(table->horizontalHeader()->length(), table->viewport()->width());
}

} // namespace
