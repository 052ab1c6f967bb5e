#include "XRPickerView.h"

#include "XRFittingFont.h"
#include "XRLocalizedString.h"

#include <QListWidget>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace {
const char wheelStyle[] =
    "QListWidget { background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c9c9cf, stop:0.15 #f7f7f7,"
    " stop:0.85 #f7f7f7, stop:1 #c9c9cf); border: 8px solid #2b2b33; font-size: 20px; font-weight: bold;"
    " color: black; }"
    // Item padding takes effect only on items with a border of their own.
    "QListWidget::item { height: 44px; padding-left: 12px; border-top: 1px solid transparent;"
    " border-bottom: 1px solid transparent; }"
    "QListWidget::item:selected { color: black; background: rgba(120, 140, 220, 110);"
    " border-top: 1px solid #6f7fb5; border-bottom: 1px solid #6f7fb5; }";
}

XRPickerView::XRPickerView(QWidget *parent)
    : QWidget(parent)
    , m_list(new QListWidget(this))
{
    setObjectName(QStringLiteral("pickerView"));
    resize(defaultSize);
    m_list->setObjectName(QStringLiteral("pickerRows"));
    m_list->setGeometry(rect());
    m_list->setStyleSheet(QString::fromLatin1(wheelStyle));
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_list->viewport()->installEventFilter(this);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->verticalScrollBar()->setStyleSheet(QStringLiteral("width: 0px;"));
    // Only a row the user picks counts as a choice.
    connect(m_list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) { chooseRow(m_list->row(item)); });
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) { chooseRow(m_list->row(item)); });
    // A row chosen with the keyboard or by a screen reader is a choice too.
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_settingRow)
            chooseRow(row);
    });
    m_list->setAccessibleName(XRLocalizedString("Currency"));
    setFocusProxy(m_list);
}

void XRPickerView::setShowsSelectionIndicator(bool shows)
{
    m_list->setSelectionMode(shows ? QAbstractItemView::SingleSelection : QAbstractItemView::NoSelection);
}

void XRPickerView::reloadAllComponents()
{
    // Rows made anew are no choice of the user's.
    const QScopedValueRollback<bool> settingRow(m_settingRow, true);
    m_list->clear();
    if (!m_dataSource || !m_delegate || m_dataSource->numberOfComponentsInPickerView(this) < 1)
        return;
    const int rows = m_dataSource->pickerViewNumberOfRowsInComponent(this, 0);
    m_list->ensurePolished();
    // The row's width inside the frame, less the rows' padding on both sides.
    const int textWidth = m_list->width() - 2 * 8 - 2 * 12;
    for (int row = 0; row < rows; ++row) {
        auto *item = new QListWidgetItem(m_delegate->pickerViewTitleForRowForComponent(this, row, 0), m_list);
        item->setFont(xr::fittingFont(m_list->font(), item->text(), textWidth));
    }
    if (rows > 0)
        m_list->setCurrentRow(0);
}

int XRPickerView::numberOfRowsInComponent(int component) const
{
    return component == 0 ? m_list->count() : 0;
}

void XRPickerView::selectRowInComponent(int row, int component, bool animated)
{
    if (component != 0 || row < 0 || row >= m_list->count())
        return;
    m_settingRow = true;
    m_list->setCurrentRow(row);
    m_settingRow = false;
    m_list->scrollToItem(m_list->item(row), animated ? QAbstractItemView::PositionAtCenter
                                                     : QAbstractItemView::EnsureVisible);
}

int XRPickerView::selectedRowInComponent(int component) const
{
    return component == 0 ? m_list->currentRow() : -1;
}

QString XRPickerView::titleForRow(int row) const
{
    const QListWidgetItem *item = m_list->item(row);
    return item ? item->text() : QString();
}

void XRPickerView::chooseRow(int row)
{
    if (row < 0 || row >= m_list->count())
        return;
    selectRowInComponent(row, 0, true);
    if (m_delegate)
        m_delegate->pickerViewDidSelectRowInComponent(this, row, 0);
}

bool XRPickerView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list->viewport() && event->type() == QEvent::Wheel) {
        turn(static_cast<QWheelEvent *>(event)->angleDelta().y());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void XRPickerView::turn(int angleDelta)
{
    // One notch of a mouse wheel is 120; turning down moves to the next row.
    constexpr int notch = 120;
    m_pendingAngle += angleDelta;
    const int rows = m_pendingAngle / notch;
    if (rows == 0 || m_list->count() == 0)
        return;
    m_pendingAngle -= rows * notch;
    const int current = std::max(m_list->currentRow(), 0);
    const int target = std::clamp(current - rows, 0, m_list->count() - 1);
    if (target != m_list->currentRow())
        chooseRow(target);
}
