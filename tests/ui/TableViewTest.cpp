#include "XRTableView.h"
#include "XRWindow.h"
#include "ZOTableAlert.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A list of numbered rows that counts the rows it had to make.
class NumberedRows : public XRTableViewDataSource, public XRTableViewDelegate
{
public:
    int rows = 100;
    int made = 0;
    QList<int> chosen;

    int tableViewNumberOfRowsInSection(XRTableView *, int) override { return rows; }
    XRTableViewCell *tableViewCellForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override
    {
        XRTableViewCell *cell = tableView->dequeueReusableCellWithIdentifier(QStringLiteral("row"));
        if (!cell) {
            cell = new XRTableViewCell(QStringLiteral("row"));
            ++made;
        }
        cell->textLabel()->setText(QStringLiteral("Row %1").arg(indexPath.row));
        // Every third row has a detail, so rows without one come back with one.
        cell->detailTextLabel()->setText(indexPath.row % 3 ? QString() : QStringLiteral("Detail"));
        return cell;
    }
    int tableViewHeightForRowAtIndexPath(XRTableView *, const XRIndexPath &) override { return 40; }
    void tableViewDidSelectRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) override
    {
        chosen.append(indexPath.row);
        tableView->deselectRowAtIndexPath(indexPath, true);
    }
};

QStringList shownTexts(const XRTableView &table)
{
    QStringList texts;
    for (XRTableViewCell *cell : table.visibleCells())
        texts << cell->textLabel()->text();
    return texts;
}

TEST(TableView, MakesOnlyRowsInSightReusesThemAndSelectsByMouse)
{
    NumberedRows rows;
    XRTableView table;
    table.setDataSource(&rows);
    table.setDelegate(&rows);
    table.resize(320, 200);
    table.show();
    table.reloadData();

    EXPECT_EQ(shownTexts(table), (QStringList{"Row 0", "Row 1", "Row 2", "Row 3", "Row 4"}));

    // Scrolling to the end shows the last rows in rows made for the first ones.
    table.verticalScrollBar()->setValue(table.verticalScrollBar()->maximum());
    EXPECT_EQ(shownTexts(table), (QStringList{"Row 95", "Row 96", "Row 97", "Row 98", "Row 99"}));
    EXPECT_LE(rows.made, 6);
    for (XRTableViewCell *cell : table.visibleCells()) {
        SCOPED_TRACE(cell->textLabel()->text().toStdString());
        const bool detailed = !cell->detailTextLabel()->text().isEmpty();
        EXPECT_EQ(cell->detailTextLabel()->y() > cell->textLabel()->geometry().bottom(), detailed);
    }

    // A click on the second row in sight chooses row 96; a press dragged away chooses nothing.
    QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mousePress(table.viewport(), Qt::LeftButton, {}, QPoint(100, 60));
    QTest::mouseRelease(table.viewport(), Qt::LeftButton, {}, QPoint(100, 140));
    EXPECT_EQ(rows.chosen, (QList<int>{96}));
    EXPECT_FALSE(table.indexPathForSelectedRow().has_value()) << "the delegate deselected it";


    // Fewer rows after a reload: nothing stale stays on screen.
    rows.rows = 2;
    table.reloadData();
    EXPECT_EQ(shownTexts(table), (QStringList{"Row 0", "Row 1"}));
    EXPECT_EQ(table.numberOfRowsInSection(0), 2);
}

// Rows without texts; the alert's calls are written down.
struct Chooser : ZOTableAlertDataSource, ZOTableAlertDelegate
{
    int rows = 0;
    QStringList journal;

    int numberOfRowsInTableAlert(ZOTableAlert *) override { return rows; }
    XRTableViewCell *tableAlertCellForRow(ZOTableAlert *, int) override { return new XRTableViewCell(QStringLiteral("row")); }
    void tableAlertClickedButtonAtIndex(ZOTableAlert *, int index) override { journal << QStringLiteral("clicked %1").arg(index); }
    void tableAlertDidSelectRow(ZOTableAlert *alert, int row) override
    {
        journal << QStringLiteral("chose %1 %2").arg(row).arg(QLatin1String(alert->view() ? "while open" : "after closing"));
    }
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
    // Each showing asks for the rows again; a chosen row closes the alert before it is told.
    chooser.rows = 2;
    alert.show();
    EXPECT_EQ(alert.tableView()->visibleCells().size(), 2);
    QTest::mouseClick(alert.tableView()->viewport(), Qt::LeftButton, {},
                      alert.tableView()->rectForRowAtIndexPath({0, 1}).center());
    EXPECT_EQ(chooser.journal.join(u','), QStringLiteral("clicked 0,clicked 0,clicked 0,chose 1 after closing"));
}

} // namespace
