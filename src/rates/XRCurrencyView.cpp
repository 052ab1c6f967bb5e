#include "XRCurrencyView.h"

#include "XRCurrencyViewController.h"

#include <QMouseEvent>

XRCurrencyView::XRCurrencyView(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("currencyView"));
}

void XRCurrencyView::mousePressEvent(QMouseEvent *event)
{
    if (m_myVC)
        m_myVC->stopEditingAmount();
    event->accept();
}
