#pragma once

#include <QAbstractScrollArea>
#include <QHash>
#include <QList>
#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class XRTableView;

// A row's place in a table: its section and its row within the section.
struct XRIndexPath
{
    int section = 0;
    int row = 0;
    friend bool operator==(const XRIndexPath &, const XRIndexPath &) = default;
};

// One row of a table. Screens derive their own rows from it; the plain row
// shows a title and a detail text. The table takes every row it is given as its
// own and hands rows that scrolled out of sight back through
// dequeueReusableCellWithIdentifier().
class XRTableViewCell : public QWidget
{
    Q_OBJECT
public:
    enum AccessoryType { AccessoryNone, AccessoryDisclosureIndicator, AccessoryCheckmark };

    explicit XRTableViewCell(const QString &reuseIdentifier, QWidget *parent = nullptr);

    QString reuseIdentifier() const { return m_reuseIdentifier; }

    // The plain row's texts; rows with a layout of their own leave them empty.
    QLabel *textLabel() const { return m_textLabel; }
    QLabel *detailTextLabel() const { return m_detailTextLabel; }

    AccessoryType accessoryType() const { return m_accessoryType; }
    void setAccessoryType(AccessoryType type);

    // Highlighted while pressed; selected until the table deselects it.
    bool isHighlighted() const { return m_highlighted; }
    virtual void setHighlighted(bool highlighted, bool animated);
    bool isSelected() const { return m_selected; }
    virtual void setSelected(bool selected, bool animated);

protected:
    // The room left of the accessory, for rows that lay out their own parts.
    QRect contentRect() const;
    // Fills the highlight behind a highlighted or selected row and draws the accessory.
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString m_reuseIdentifier;
    QLabel *m_textLabel;
    QLabel *m_detailTextLabel;
    AccessoryType m_accessoryType = AccessoryNone;
    bool m_highlighted = false;
    bool m_selected = false;
};

class XRTableViewDataSource
{
public:
    virtual ~XRTableViewDataSource() = default;
    virtual int numberOfSectionsInTableView(XRTableView *tableView)
    {
        Q_UNUSED(tableView);
        return 1;
    }
    virtual int tableViewNumberOfRowsInSection(XRTableView *tableView, int section) = 0;
    // A row from dequeueReusableCellWithIdentifier(), or a new one; the table owns it.
    virtual XRTableViewCell *tableViewCellForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath) = 0;
};

class XRTableViewDelegate
{
public:
    virtual ~XRTableViewDelegate() = default;
    virtual int tableViewHeightForRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath)
    {
        Q_UNUSED(tableView);
        Q_UNUSED(indexPath);
        return 44;
    }
    virtual void tableViewDidSelectRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath)
    {
        Q_UNUSED(tableView);
        Q_UNUSED(indexPath);
    }
};

// A scrolling list of rows that asks its data source for the rows, their
// heights and their content, makes only the rows in sight and reuses rows by
// identifier. A click, or Return on the current row, selects a row and tells
// the delegate; the arrow keys move the current row.
class XRTableView : public QAbstractScrollArea
{
    Q_OBJECT
public:
    explicit XRTableView(QWidget *parent = nullptr);
    ~XRTableView() override;

    void setDataSource(XRTableViewDataSource *dataSource) { m_dataSource = dataSource; }
    void setDelegate(XRTableViewDelegate *delegate) { m_delegate = delegate; }

    // Asks the data source again for everything and redraws the rows in sight.
    void reloadData();
    // A row that left the screen, made ready for new content; null when none waits.
    XRTableViewCell *dequeueReusableCellWithIdentifier(const QString &identifier);

    int numberOfSections() const { return int(m_sectionRows.size()); }
    int numberOfRowsInSection(int section) const;
    // The row on screen at the index path; null when it is out of sight.
    XRTableViewCell *cellForRowAtIndexPath(const XRIndexPath &indexPath) const;
    QList<XRTableViewCell *> visibleCells() const;
    // Where the row lies, in the table's content coordinates.
    QRect rectForRowAtIndexPath(const XRIndexPath &indexPath) const;

    std::optional<XRIndexPath> indexPathForSelectedRow() const { return m_selected; }
    void selectRowAtIndexPath(const XRIndexPath &indexPath, bool animated);
    void deselectRowAtIndexPath(const XRIndexPath &indexPath, bool animated);
    void scrollToRowAtIndexPath(const XRIndexPath &indexPath);
    // A row pressed through the accessibility tree: selected as a click selects it.
    void pressCell(XRTableViewCell *cell);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    struct Row
    {
        XRIndexPath indexPath;
        int top = 0;
        int height = 0;
    };

    std::optional<XRIndexPath> indexPathAt(int contentY) const;
    void userSelectsRow(const XRIndexPath &indexPath);
    void layOutVisibleRows();
    void recycle(XRTableViewCell *cell);

    XRTableViewDataSource *m_dataSource = nullptr;
    XRTableViewDelegate *m_delegate = nullptr;
    QList<int> m_sectionRows;
    QList<Row> m_rows;
    int m_contentHeight = 0;
    // The rows on screen, by their place in m_rows.
    QHash<int, XRTableViewCell *> m_visible;
    QHash<QString, QList<XRTableViewCell *>> m_reusable;
    std::optional<XRIndexPath> m_selected;
    std::optional<XRIndexPath> m_pressed;
    int m_current = -1;
};
