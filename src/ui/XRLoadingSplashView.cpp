#include "XRLoadingSplashView.h"

#include "XRActivityIndicatorView.h"
#include "XRLocalizedString.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>

XRLoadingSplashView::XRLoadingSplashView(const QRect &frame, QWidget *parent)
    : QWidget(parent)
    , m_loadingMessage(new QLabel(this))
    , m_activityView(new XRActivityIndicatorView(XRActivityIndicatorView::White, this))
{
    setObjectName(QStringLiteral("loadingSplash"));
    setGeometry(frame);
    setAttribute(Qt::WA_TranslucentBackground);
    const int width = frame.width();

    m_loadingMessage->setObjectName(QStringLiteral("loadingMessage"));
    m_loadingMessage->setGeometry(4, 40, width - 8, 30);
    m_loadingMessage->setText(XRLocalizedString("Loading data..."));
    m_loadingMessage->setAlignment(Qt::AlignCenter);
    QFont font = m_loadingMessage->font();
    font.setBold(true);
    font.setPixelSize(16);
    m_loadingMessage->setFont(font);
    m_loadingMessage->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    const QSize spinner = m_activityView->size();
    m_activityView->move(int(width * 0.5 - spinner.width() / 2.0), 25 - spinner.height() / 2);
    m_activityView->startAnimating();
}

void XRLoadingSplashView::setLoadingMessage(const QString &text)
{
    m_loadingMessage->setText(text);
}

void XRLoadingSplashView::paintEvent(QPaintEvent *)
{
    // A rounded panel one point inside the view, corner radius 5, 70% black.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF inner = QRectF(rect()).adjusted(1, 1, -1, -1);
    QPainterPath path;
    path.addRoundedRect(inner, 5, 5);
    painter.fillPath(path, QColor::fromRgbF(0, 0, 0, 0.7));
}
