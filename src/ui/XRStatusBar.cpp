#include "XRStatusBar.h"

#include "XRActivityIndicatorView.h"

#include <QLabel>
#include <QPainter>
#include <QTime>
#include <QTimer>

XRStatusBar::XRStatusBar(QWidget *parent)
    : QWidget(parent)
    , m_clock(new QLabel(this))
    , m_activity(new XRActivityIndicatorView(XRActivityIndicatorView::White, this))
{
    setObjectName(QStringLiteral("statusBar"));
    setGeometry(0, 0, 320, height);
    m_clock->setObjectName(QStringLiteral("statusClock"));
    m_clock->setGeometry(100, 0, 120, height);
    m_clock->setAlignment(Qt::AlignCenter);
    QFont clockFont = m_clock->font();
    clockFont.setPixelSize(12);
    clockFont.setBold(true);
    m_clock->setFont(clockFont);
    m_activity->resize(14, 14);
    m_activity->move(6, 3);
    auto *timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &XRStatusBar::updateClock);
    timer->start(30 * 1000);
    updateClock();
    setStyle(0);
}

void XRStatusBar::updateClock()
{
    m_clock->setText(QTime::currentTime().toString(QStringLiteral("HH:mm")));
}

void XRStatusBar::setStyle(int style)
{
    m_style = style;
    QPalette palette = m_clock->palette();
    palette.setColor(QPalette::WindowText, style != 0 ? Qt::white : Qt::black);
    m_clock->setPalette(palette);
    update();
}

void XRStatusBar::setNetworkActivityIndicatorVisible(bool visible)
{
    if (visible)
        m_activity->startAnimating();
    else
        m_activity->stopAnimating();
}

bool XRStatusBar::isNetworkActivityIndicatorVisible() const
{
    return m_activity->isAnimating();
}

void XRStatusBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    if (m_style == 0) {
        QLinearGradient gradient(0, 0, 0, height);
        gradient.setColorAt(0, QColor(0xd6, 0xd6, 0xd6));
        gradient.setColorAt(1, QColor(0xa8, 0xa8, 0xa8));
        painter.fillRect(rect(), gradient);
    } else {
        painter.fillRect(rect(), m_style == 1 ? QColor(0, 0, 0, 150) : QColor(Qt::black));
    }
}
