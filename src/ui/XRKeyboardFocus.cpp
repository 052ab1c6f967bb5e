#include "XRKeyboardFocus.h"

#include <QApplication>
#include <QWidget>

namespace {

// The container counts too: a screen may be one list.
bool isTabStop(const QWidget *container, const QWidget *widget)
{
    return (widget == container || (container->isAncestorOf(widget) && widget->isVisibleTo(container)))
           && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy();
}

} // namespace

namespace xr {

bool focusFirstControl(QWidget *container)
{
    // In the order the screen was built, top down, whatever order Tab has.
    const QList<QWidget *> widgets = QList<QWidget *>{container} + container->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        if (isTabStop(container, widget)) {
            widget->setFocus(Qt::TabFocusReason);
            return true;
        }
    }
    return false;
}

bool focusNextControlInside(QWidget *container, bool next)
{
    QWidget *start = QApplication::focusWidget();
    if (!start || !container->isAncestorOf(start))
        return focusFirstControl(container);
    // The focus chain is a ring through the whole window: walk it once.
    for (QWidget *widget = next ? start->nextInFocusChain() : start->previousInFocusChain(); widget != start;
         widget = next ? widget->nextInFocusChain() : widget->previousInFocusChain()) {
        if (isTabStop(container, widget)) {
            widget->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return false;
}

} // namespace xr
