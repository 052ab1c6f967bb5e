#include "XRTableView.h"

#include <QLabel>
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

TEST(TableView, MakesOnlyRowsInSightReusesThemAndSelectsByMouseAndKeyboard)
{
    NumberedRows rows;
    XRTableView table;
    table.setDataSource(&rows);
    table.setDelegate(&rows);
    table.resize(320, 200);
    table.show();
    table.reloadData();

    EXPECT_EQ(shownTexts(table), (QStringList{"Row 0", "Row 1", "Row 2", "Row 3", "Row 4"}));
    EXPECT_EQ(table.rectForRowAtIndexPath({0, 99}), QRect(0, 3960, table.viewport()->width(), 40));

    // Scrolling to the end shows the last rows in rows made for the first ones.
    table.verticalScrollBar()->setValue(table.verticalScrollBar()->maximum());
    EXPECT_EQ(shownTexts(table), (QStringList{"Row 95", "Row 96", "Row 97", "Row 98", "Row 99"}));
    EXPECT_LE(rows.made, 6);
    EXPECT_EQ(table.cellForRowAtIndexPath({0, 0}), nullptr);
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

    // The keyboard moves the current row from the top and Return chooses it.
    QTest::keyClick(&table, Qt::Key_Home);
    QTest::keyClick(&table, Qt::Key_Down);
    QTest::keyClick(&table, Qt::Key_Return);
    EXPECT_EQ(rows.chosen, (QList<int>{96, 1}));
    EXPECT_EQ(shownTexts(table).first(), QStringLiteral("Row 0"));

    // Fewer rows after a reload: nothing stale stays on screen.
    rows.rows = 2;
    table.reloadData();
    EXPECT_EQ(shownTexts(table), (QStringList{"Row 0", "Row 1"}));
    EXPECT_EQ(table.numberOfRowsInSection(0), 2);
}

} // namespace
