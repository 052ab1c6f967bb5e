#include "XRAnnotationView.h"

#include <QMouseEvent>
#include <QPainter>

XRAnnotationView::XRAnnotationView(const XRStoreAnnotation &annotation, const QString &reuseIdentifier, QWidget *parent)
    : QWidget(parent)
    , m_annotation(annotation)
    , m_reuseIdentifier(reuseIdentifier)
{
    setObjectName(QStringLiteral("annotationView"));
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
}

void XRAnnotationView::setImage(const QPixmap &image)
{
    m_image = image;
    resize(image.deviceIndependentSize().toSize());
    update();
}

void XRAnnotationView::paintEvent(QPaintEvent *)
{
    QPainter(this).drawPixmap(0, 0, m_image);
}

void XRAnnotationView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Q_EMIT clicked();
}
