#include "Screenshots.h"
#include "XRAlertView.h"
#include "XRWindow.h"
#include "ZOTableAlert.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Rows "Row 0", "Row 1", ...; every event the alert passes on is written down.
struct Chooser : ZOTableAlertDataSource, ZOTableAlertDelegate
{
    int rows = 0;
    QStringList journal;

    int numberOfRowsInTableAlert(ZOTableAlert *) override { return rows; }
    XRTableViewCell *tableAlertCellForRow(ZOTableAlert *alert, int row) override
    {
        XRTableViewCell *cell = alert->tableView()->dequeueReusableCellWithIdentifier(QStringLiteral("row"));
        if (!cell)
            cell = new XRTableViewCell(QStringLiteral("row"));
        cell->textLabel()->setText(QStringLiteral("Row %1").arg(row));
        cell->detailTextLabel()->setText(QStringLiteral("detail"));
        return cell;
    }
    void tableAlertDidSelectRow(ZOTableAlert *, int row) override { journal << QStringLiteral("select %1").arg(row); }
    void tableAlertClickedButtonAtIndex(ZOTableAlert *, int i) override { journal << QStringLiteral("clicked %1").arg(i); }
    void willPresentTableAlert(ZOTableAlert *) override { journal << QStringLiteral("willPresent"); }
    void didPresentTableAlert(ZOTableAlert *) override { journal << QStringLiteral("didPresent"); }
    void tableAlertWillDismissWithButtonIndex(ZOTableAlert *, int i) override
    {
        journal << QStringLiteral("willDismiss %1").arg(i);
    }
    void tableAlertDidDismissWithButtonIndex(ZOTableAlert *, int i) override
    {
        journal << QStringLiteral("didDismiss %1").arg(i);
    }
};

void clickRow(XRTableView *table, int row)
{
    table->scrollToRowAtIndexPath({0, row});
    const QRect rect = table->rectForRowAtIndexPath({0, row}).translated(0, -table->verticalScrollBar()->value());
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, rect.center());
}

class TableAlertTest : public testing::Test
{
protected:
    void SetUp() override
    {
        window.makeKeyAndVisible();
        alert.setDataSource(&chooser);
        alert.setDelegate(&chooser);
    }

    XRWindow window;
    Chooser chooser;
    ZOTableAlert alert{QStringLiteral("Choose store"), QStringLiteral("Cancel")};
};

TEST_F(TableAlertTest, TheAlertGrowsAboutItsCentreByUpToSevenRows)
{
    QRect empty;
    for (int rows : {0, 3, 20}) {
        SCOPED_TRACE(rows);
        chooser.rows = rows;
        alert.show();
        ASSERT_TRUE(alert.view());
        const QRect panel = alert.view()->panelGeometry();
        if (rows == 0)
            empty = panel;
        const int shown = std::min(rows, 7) * 40;
        EXPECT_EQ(alert.tableView()->height(), shown);
        EXPECT_EQ(panel.height(), empty.height() + shown);
        EXPECT_EQ(panel.center().y(), empty.center().y());
        EXPECT_EQ(alert.tableView()->verticalScrollBar()->maximum() > 0, rows > 7);
        EXPECT_EQ(alert.tableView()->geometry().left(), 12);
        EXPECT_EQ(alert.tableView()->width(), panel.width() - 24);
        EXPECT_EQ(alert.tableView()->visibleCells().size(), std::min(rows, 7));
        // A second layout of the same showing replaces the growth instead of adding to it.
        alert.layout();
        EXPECT_EQ(alert.view()->panelGeometry(), panel);
        if (rows == 20)
            xr::test::saveScreenshot(&window, QStringLiteral("table-alert-20-rows"));
        QTest::mouseClick(alert.view()->button(0), Qt::LeftButton);
        EXPECT_EQ(alert.view(), nullptr);
    }
    EXPECT_EQ(chooser.journal.mid(0, 5), (QStringList{QStringLiteral("willPresent"), QStringLiteral("didPresent"),
                                                       QStringLiteral("clicked 0"), QStringLiteral("willDismiss 0"),
                                                       QStringLiteral("didDismiss 0")}));
}

TEST_F(TableAlertTest, ChoosingARowClosesTypeZeroFirstAndEachShowingReloadsTheRows)
{
    chooser.rows = 3;
    alert.show();
    EXPECT_EQ(alert.tableView()->visibleCells().size(), 3);
    chooser.journal.clear();
    clickRow(alert.tableView(), 2);
    EXPECT_EQ(chooser.journal, (QStringList{QStringLiteral("willDismiss -1"), QStringLiteral("didDismiss -1"),
                                            QStringLiteral("select 2")}));
    EXPECT_TRUE(XRAlertView::visibleAlerts().isEmpty());

    chooser.rows = 12;
    alert.setType(1);
    alert.show();
    EXPECT_EQ(alert.tableView()->numberOfRowsInSection(0), 12);
    chooser.journal.clear();
    clickRow(alert.tableView(), 11);
    EXPECT_EQ(chooser.journal, QStringList{QStringLiteral("select 11")}) << "any other type stays open";
    EXPECT_EQ(XRAlertView::visibleAlerts().size(), 1);

    // Without a delegate every event is dropped.
    alert.setDelegate(nullptr);
    clickRow(alert.tableView(), 0);
    QTest::keyClick(alert.view(), Qt::Key_Escape);
    EXPECT_TRUE(XRAlertView::visibleAlerts().isEmpty());
}

} // namespace
