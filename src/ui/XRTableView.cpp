#include "XRTableView.h"

#include <QAccessibleWidget>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

constexpr int accessoryWidth = 30;

// A row's title: one that is too long for the row ends in an ellipsis instead
// of being cut off mid-letter; text() keeps it whole.
class ElidingLabel : public QLabel
{
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const QRect area = contentsRect();
        style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(),
                              fontMetrics().elidedText(text(), Qt::ElideRight, area.width()), foregroundRole());
    }
};
const QColor highlightTop(5, 140, 245);
const QColor highlightBottom(1, 93, 230);

// A row as a screen reader meets it: a list item named by the texts it
// shows, checked when it carries a check mark, that it can press.
class CellAccessible : public QAccessibleWidget
{
public:
    explicit CellAccessible(XRTableViewCell *cell)
        : QAccessibleWidget(cell, QAccessible::ListItem)
    {
    }
    QString text(QAccessible::Text t) const override
    {
        if (t != QAccessible::Name || !widget()->accessibleName().isEmpty())
            return QAccessibleWidget::text(t);
        QStringList texts;
        for (const QLabel *label : widget()->findChildren<QLabel *>()) {
            if (label->isVisibleTo(widget()) && !label->text().isEmpty())
                texts << label->text();
        }
        return texts.join(QStringLiteral(", "));
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.selectable = true;
        state.selected = cell()->isSelected() || cell()->isHighlighted();
        state.checkable = cell()->accessoryType() == XRTableViewCell::AccessoryCheckmark;
        state.checked = state.checkable;
        return state;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString &name) override
    {
        auto *table = qobject_cast<XRTableView *>(cell()->parentWidget() ? cell()->parentWidget()->parentWidget() : nullptr);
        if (name == pressAction() && table)
            table->pressCell(cell());
    }

private:
    XRTableViewCell *cell() const { return static_cast<XRTableViewCell *>(widget()); }
};

QAccessibleInterface *tableAccessible(const QString &, QObject *object)
{
    if (auto *cell = qobject_cast<XRTableViewCell *>(object))
        return new CellAccessible(cell);
    if (auto *table = qobject_cast<XRTableView *>(object))
        return new QAccessibleWidget(table, QAccessible::List);
    return nullptr;
}

} // namespace

XRTableViewCell::XRTableViewCell(const QString &reuseIdentifier, QWidget *parent)
    : QWidget(parent)
    , m_reuseIdentifier(reuseIdentifier)
    , m_textLabel(new ElidingLabel(this))
    , m_detailTextLabel(new QLabel(this))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_textLabel->setObjectName(QStringLiteral("textLabel"));
    QFont bold = m_textLabel->font();
    bold.setBold(true);
    bold.setPixelSize(17);
    m_textLabel->setFont(bold);
    m_detailTextLabel->setObjectName(QStringLiteral("detailTextLabel"));
    m_detailTextLabel->setStyleSheet(QStringLiteral("color: #555555;"));
}

void XRTableViewCell::setAccessoryType(AccessoryType type)
{
    m_accessoryType = type;
    resizeEvent(nullptr);
    update();
}

void XRTableViewCell::setHighlighted(bool highlighted, bool animated)
{
    Q_UNUSED(animated);
    m_highlighted = highlighted;
    update();
}

void XRTableViewCell::setSelected(bool selected, bool animated)
{
    Q_UNUSED(animated);
    m_selected = selected;
    update();
}

QRect XRTableViewCell::contentRect() const
{
    const int right = m_accessoryType == AccessoryNone ? 0 : accessoryWidth;
    return rect().adjusted(0, 0, -right, 0);
}

void XRTableViewCell::resizeEvent(QResizeEvent *event)
{
    Q_UNUSED(event);
    // The plain layout: the title alone, or the title over its detail.
    const QRect content = contentRect().adjusted(10, 0, -6, 0);
    if (m_detailTextLabel->text().isEmpty()) {
        m_textLabel->setGeometry(content);
    } else {
        const int half = content.height() / 2;
        m_textLabel->setGeometry(content.x(), content.y() + 2, content.width(), half - 2);
        m_detailTextLabel->setGeometry(content.x(), content.y() + half, content.width(), half - 2);
    }
}

void XRTableViewCell::paintEvent(QPaintEvent *event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    if (m_highlighted || m_selected) {
        QLinearGradient gradient(0, 0, 0, height());
        gradient.setColorAt(0, highlightTop);
        gradient.setColorAt(1, highlightBottom);
        painter.fillRect(rect(), gradient);
    } else {
        painter.fillRect(rect(), Qt::white);
    }
    const QColor mark = (m_highlighted || m_selected) ? QColor(Qt::white) : QColor(128, 128, 128);
    const int cx = width() - accessoryWidth / 2;
    const int cy = height() / 2;
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(mark, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (m_accessoryType == AccessoryDisclosureIndicator) {
        painter.drawPolyline(QPolygonF({QPointF(cx - 3, cy - 6), QPointF(cx + 3, cy), QPointF(cx - 3, cy + 6)}));
    } else if (m_accessoryType == AccessoryCheckmark) {
        const QColor check = (m_highlighted || m_selected) ? QColor(Qt::white) : QColor(50, 79, 133);
        painter.setPen(QPen(check, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygonF({QPointF(cx - 7, cy), QPointF(cx - 2, cy + 6), QPointF(cx + 7, cy - 7)}));
    }
    // The separator under every row.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QColor(224, 224, 224));
    painter.drawLine(0, height() - 1, width(), height() - 1);
}

XRTableView::XRTableView(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    static const bool installed = [] {
        QAccessible::installFactory(tableAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName(QStringLiteral("tableView"));
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    viewport()->setAutoFillBackground(true);
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Window, Qt::white);
    viewport()->setPalette(palette);
}

XRTableView::~XRTableView() = default;

void XRTableView::reloadData()
{
    for (XRTableViewCell *cell : std::as_const(m_visible))
        recycle(cell);
    m_visible.clear();
    m_sectionRows.clear();
    m_rows.clear();
    m_contentHeight = 0;
    if (m_dataSource) {
        const int sections = std::max(0, m_dataSource->numberOfSectionsInTableView(this));
        for (int section = 0; section < sections; ++section) {
            const int rows = std::max(0, m_dataSource->tableViewNumberOfRowsInSection(this, section));
            m_sectionRows.append(rows);
            for (int row = 0; row < rows; ++row) {
                const XRIndexPath indexPath{section, row};
                const int height = m_delegate ? m_delegate->tableViewHeightForRowAtIndexPath(this, indexPath) : 44;
                m_rows.append({indexPath, m_contentHeight, std::max(0, height)});
                m_contentHeight += std::max(0, height);
            }
        }
    }
    if (m_selected && !rectForRowAtIndexPath(*m_selected).isValid())
        m_selected.reset();
    m_current = std::min(m_current, int(m_rows.size()) - 1);
    m_pressed.reset();
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(std::max(1, m_rows.isEmpty() ? 44 : m_rows.first().height / 2));
    verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - viewport()->height()));
    layOutVisibleRows();
}

XRTableViewCell *XRTableView::dequeueReusableCellWithIdentifier(const QString &identifier)
{
    auto found = m_reusable.find(identifier);
    if (found == m_reusable.end() || found->isEmpty())
        return nullptr;
    XRTableViewCell *cell = found->takeLast();
    cell->setHighlighted(false, false);
    cell->setSelected(false, false);
    return cell;
}

int XRTableView::numberOfRowsInSection(int section) const
{
    return m_sectionRows.value(section, 0);
}

XRTableViewCell *XRTableView::cellForRowAtIndexPath(const XRIndexPath &indexPath) const
{
    for (auto it = m_visible.cbegin(); it != m_visible.cend(); ++it) {
        if (m_rows[it.key()].indexPath == indexPath)
            return it.value();
    }
    return nullptr;
}

QList<XRTableViewCell *> XRTableView::visibleCells() const
{
    QList<int> places = m_visible.keys();
    std::sort(places.begin(), places.end());
    QList<XRTableViewCell *> cells;
    for (int place : places)
        cells.append(m_visible.value(place));
    return cells;
}

QRect XRTableView::rectForRowAtIndexPath(const XRIndexPath &indexPath) const
{
    for (const Row &row : m_rows) {
        if (row.indexPath == indexPath)
            return QRect(0, row.top, viewport()->width(), row.height);
    }
    return {};
}

void XRTableView::selectRowAtIndexPath(const XRIndexPath &indexPath, bool animated)
{
    if (m_selected)
        deselectRowAtIndexPath(*m_selected, animated);
    if (!rectForRowAtIndexPath(indexPath).isValid())
        return;
    m_selected = indexPath;
    if (XRTableViewCell *cell = cellForRowAtIndexPath(indexPath))
        cell->setSelected(true, animated);
}

void XRTableView::deselectRowAtIndexPath(const XRIndexPath &indexPath, bool animated)
{
    if (m_selected == indexPath)
        m_selected.reset();
    if (XRTableViewCell *cell = cellForRowAtIndexPath(indexPath)) {
        cell->setSelected(false, animated);
        cell->setHighlighted(false, animated);
    }
}

void XRTableView::scrollToRowAtIndexPath(const XRIndexPath &indexPath)
{
    const QRect row = rectForRowAtIndexPath(indexPath);
    if (!row.isValid())
        return;
    const int top = verticalScrollBar()->value();
    if (row.top() < top)
        verticalScrollBar()->setValue(row.top());
    else if (row.bottom() >= top + viewport()->height())
        verticalScrollBar()->setValue(row.bottom() + 1 - viewport()->height());
}

void XRTableView::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - viewport()->height()));
    layOutVisibleRows();
}

void XRTableView::scrollContentsBy(int dx, int dy)
{
    Q_UNUSED(dx);
    Q_UNUSED(dy);
    layOutVisibleRows();
}

std::optional<XRIndexPath> XRTableView::indexPathAt(int contentY) const
{
    const auto row = std::upper_bound(m_rows.cbegin(), m_rows.cend(), contentY,
                                      [](int y, const Row &r) { return y < r.top + r.height; });
    if (row == m_rows.cend() || contentY < row->top)
        return std::nullopt;
    return row->indexPath;
}

void XRTableView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = indexPathAt(event->position().toPoint().y() + verticalScrollBar()->value());
    if (m_pressed) {
        if (XRTableViewCell *cell = cellForRowAtIndexPath(*m_pressed))
            cell->setHighlighted(true, false);
    }
}

void XRTableView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressed)
        return;
    const XRIndexPath pressed = *m_pressed;
    m_pressed.reset();
    XRTableViewCell *cell = cellForRowAtIndexPath(pressed);
    const auto released = indexPathAt(event->position().toPoint().y() + verticalScrollBar()->value());
    if (released != pressed) {
        if (cell)
            cell->setHighlighted(false, false);
        return;
    }
    userSelectsRow(pressed);
}

void XRTableView::keyPressEvent(QKeyEvent *event)
{
    if (m_rows.isEmpty()) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int last = int(m_rows.size()) - 1;
    int current = m_current;
    switch (event->key()) {
    case Qt::Key_Down:
        current = std::min(current + 1, last);
        break;
    case Qt::Key_Up:
        current = std::max(current - 1, 0);
        break;
    case Qt::Key_Home:
        current = 0;
        break;
    case Qt::Key_End:
        current = last;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (m_current >= 0)
            userSelectsRow(m_rows[m_current].indexPath);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (XRTableViewCell *old = m_current >= 0 ? cellForRowAtIndexPath(m_rows[m_current].indexPath) : nullptr)
        old->setHighlighted(false, false);
    m_current = current;
    scrollToRowAtIndexPath(m_rows[current].indexPath);
    if (XRTableViewCell *cell = cellForRowAtIndexPath(m_rows[current].indexPath)) {
        cell->setHighlighted(true, false);
        // A screen reader says the row the arrows reached.
        QAccessibleEvent reached(cell, QAccessible::Focus);
        QAccessible::updateAccessibility(&reached);
    }
}

void XRTableView::pressCell(XRTableViewCell *cell)
{
    for (auto it = m_visible.cbegin(); it != m_visible.cend(); ++it) {
        if (it.value() == cell) {
            userSelectsRow(m_rows[it.key()].indexPath);
            return;
        }
    }
}

void XRTableView::userSelectsRow(const XRIndexPath &indexPath)
{
    selectRowAtIndexPath(indexPath, false);
    if (m_delegate)
        m_delegate->tableViewDidSelectRowAtIndexPath(this, indexPath);
}

void XRTableView::layOutVisibleRows()
{
    const int top = verticalScrollBar()->value();
    const int bottom = top + viewport()->height();
    const int width = viewport()->width();

    // Rows that left the screen wait for reuse.
    for (auto it = m_visible.begin(); it != m_visible.end();) {
        const Row &row = m_rows[it.key()];
        if (row.top + row.height <= top || row.top >= bottom) {
            recycle(it.value());
            it = m_visible.erase(it);
        } else {
            ++it;
        }
    }

    if (!m_dataSource)
        return;
    for (int place = 0; place < m_rows.size(); ++place) {
        const Row &row = m_rows[place];
        if (row.top + row.height <= top)
            continue;
        if (row.top >= bottom)
            break;
        XRTableViewCell *cell = m_visible.value(place);
        const bool handedOut = !cell;
        if (!cell) {
            cell = m_dataSource->tableViewCellForRowAtIndexPath(this, row.indexPath);
            if (!cell)
                continue;
            cell->setParent(viewport());
            cell->setSelected(m_selected == row.indexPath, false);
            cell->setHighlighted(place == m_current, false);
            m_visible.insert(place, cell);
        }
        cell->setGeometry(0, row.top - top, width, row.height);
        if (handedOut) {
            // A reused row keeps its size, so no resize event lays out its new texts.
            QResizeEvent layout(cell->size(), cell->size());
            QCoreApplication::sendEvent(cell, &layout);
        }
        cell->show();
    }
}

void XRTableView::recycle(XRTableViewCell *cell)
{
    cell->hide();
    cell->setHighlighted(false, false);
    cell->setSelected(false, false);
    QList<XRTableViewCell *> &waiting = m_reusable[cell->reuseIdentifier()];
    if (!waiting.contains(cell))
        waiting.append(cell);
}
