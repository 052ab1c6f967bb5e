#include "XRWindow.h"
#include "ZOTableAlert.h"

#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// Rows without texts; every event the alert passes on is written down.
struct Chooser : ZOTableAlertDataSource, ZOTableAlertDelegate
{
    int rows = 0;
    QStringList journal;
    void note(const char *event, int index) { journal << QStringLiteral("%1 %2").arg(QLatin1String(event)).arg(index); }

    int numberOfRowsInTableAlert(ZOTableAlert *) override { return rows; }
    XRTableViewCell *tableAlertCellForRow(ZOTableAlert *, int) override { return new XRTableViewCell(QStringLiteral("row")); }
    void tableAlertDidSelectRow(ZOTableAlert *, int row) override { note("select", row); }
    void tableAlertClickedButtonAtIndex(ZOTableAlert *, int index) override { note("clicked", index); }
    void willPresentTableAlert(ZOTableAlert *) override { note("willPresent", rows); }
    void didPresentTableAlert(ZOTableAlert *) override { note("didPresent", rows); }
    void tableAlertWillDismissWithButtonIndex(ZOTableAlert *, int index) override { note("willDismiss", index); }
    void tableAlertDidDismissWithButtonIndex(ZOTableAlert *, int index) override { note("didDismiss", index); }
};

TEST(TableAlert, GrowsAboutItsCentreByUpToSevenRowsAndAChosenRowClosesItFirst)
{
    XRWindow window;
    window.makeKeyAndVisible();
    Chooser chooser;
    ZOTableAlert alert(QStringLiteral("Choose store"), QStringLiteral("Cancel"));
    alert.setDataSource(&chooser);
    alert.setDelegate(&chooser);
    QRect empty;
    for (int rows : {0, 3, 20}) {
        SCOPED_TRACE(rows);
        chooser.rows = rows;
        alert.show();
        const QRect panel = alert.view()->panelGeometry();
        empty = rows == 0 ? panel : empty;
        EXPECT_EQ(panel.height(), empty.height() + std::min(rows, 7) * 40);
        EXPECT_EQ(panel.center().y(), empty.center().y());
        EXPECT_EQ(alert.tableView()->geometry(), QRect(12, alert.tableView()->y(), panel.width() - 24, std::min(rows, 7) * 40));
        EXPECT_EQ(alert.tableView()->verticalScrollBar()->maximum() > 0, rows > 7);
        alert.layout(); // a second layout replaces the growth of the first
        EXPECT_EQ(alert.view()->panelGeometry(), panel);
        QTest::mouseClick(alert.view()->button(0), Qt::LeftButton);
    }
    EXPECT_EQ(chooser.journal.mid(2, 3), (QStringList{QStringLiteral("clicked 0"), QStringLiteral("willDismiss 0"),
                                                       QStringLiteral("didDismiss 0")}));

    // Each showing asks for the rows again; a chosen row closes the alert with index -1 before it is told.
    chooser.rows = 2;
    chooser.journal.clear();
    alert.show();
    EXPECT_EQ(alert.tableView()->visibleCells().size(), 2);
    QTest::mouseClick(alert.tableView()->viewport(), Qt::LeftButton, {},
                      alert.tableView()->rectForRowAtIndexPath({0, 1}).center());
    EXPECT_EQ(chooser.journal, (QStringList{QStringLiteral("willPresent 2"), QStringLiteral("didPresent 2"),
                                            QStringLiteral("willDismiss -1"), QStringLiteral("didDismiss -1"),
                                            QStringLiteral("select 1")}));
    EXPECT_EQ(alert.view(), nullptr);
}

} // namespace
