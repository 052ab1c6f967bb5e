#include "XRActivityIndicatorView.h"

#include <QPainter>
#include <QTimer>

XRActivityIndicatorView::XRActivityIndicatorView(Style style, QWidget *parent)
    : QWidget(parent)
    , m_color(style == Gray ? QColor(128, 128, 128) : QColor(Qt::white))
    , m_timer(new QTimer(this))
{
    const int side = style == WhiteLarge ? 37 : 20;
    resize(side, side);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    m_timer->setInterval(80);
    connect(m_timer, &QTimer::timeout, this, [this] {
        m_step = (m_step + 1) % 12;
        update();
    });
    hide();
}

void XRActivityIndicatorView::startAnimating()
{
    m_timer->start();
    show();
}

void XRActivityIndicatorView::stopAnimating()
{
    m_timer->stop();
    hide();
}

bool XRActivityIndicatorView::isAnimating() const
{
    return m_timer->isActive();
}

void XRActivityIndicatorView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(width() / 2.0, height() / 2.0);
    const double radius = std::min(width(), height()) / 2.0;
    QPen pen(m_color);
    pen.setWidthF(radius / 4.5);
    pen.setCapStyle(Qt::RoundCap);
    for (int i = 0; i < 12; ++i) {
        QColor color = m_color;
        color.setAlphaF(0.25 + 0.75 * double((i + 12 - m_step) % 12) / 11.0);
        pen.setColor(color);
        painter.setPen(pen);
        painter.save();
        painter.rotate(30.0 * i);
        painter.drawLine(QPointF(0, -radius * 0.45), QPointF(0, -radius * 0.9));
        painter.restore();
    }
}
