#include "XRAnnotationView.h"

#include <QKeyEvent>
#include <QPainter>

XRAnnotationView::XRAnnotationView(const XRStoreAnnotation &annotation, const QString &reuseIdentifier, QWidget *parent)
    : QAbstractButton(parent)
    , m_annotation(annotation)
    , m_reuseIdentifier(reuseIdentifier)
{
    setObjectName(QStringLiteral("annotationView"));
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::TabFocus);
    setAccessibleName(annotation.title());
    setAccessibleDescription(annotation.subtitle());
}

void XRAnnotationView::setImage(const QPixmap &image)
{
    m_image = image;
    resize(image.deviceIndependentSize().toSize());
    update();
}

void XRAnnotationView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, m_image);
    // The keyboard's place on the map.
    if (hasFocus()) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(47, 125, 225), 2, Qt::DotLine));
        painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}

void XRAnnotationView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        click();
    else
        QAbstractButton::keyPressEvent(event);
}
