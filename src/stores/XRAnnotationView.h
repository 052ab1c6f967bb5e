#pragma once

#include "XRStoreAnnotation.h"

#include <QAbstractButton>
#include <QPixmap>
#include <QPointer>
#include <QPointF>

// A store pin: an image whose centre stands centerOffset away from the
// annotation's point, and the accessories of its callout. It is a button
// named by the store, so that the keyboard and a screen reader press it too.
class XRAnnotationView : public QAbstractButton
{
    Q_OBJECT
public:
    XRAnnotationView(const XRStoreAnnotation &annotation, const QString &reuseIdentifier, QWidget *parent = nullptr);

    XRStoreAnnotation annotation() const { return m_annotation; }
    QString reuseIdentifier() const { return m_reuseIdentifier; }
    QPixmap image() const { return m_image; }
    void setImage(const QPixmap &image);
    bool canShowCallout() const { return m_canShowCallout; }
    void setCanShowCallout(bool canShow) { m_canShowCallout = canShow; }
    QPointF centerOffset() const { return m_centerOffset; }
    void setCenterOffset(const QPointF &offset) { m_centerOffset = offset; }
    // The callout takes both accessories as its own when it shows them.
    QWidget *leftCalloutAccessoryView() const { return m_left; }
    void setLeftCalloutAccessoryView(QWidget *view) { m_left = view; }
    QWidget *rightCalloutAccessoryView() const { return m_right; }
    void setRightCalloutAccessoryView(QWidget *view) { m_right = view; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    XRStoreAnnotation m_annotation;
    QString m_reuseIdentifier;
    QPixmap m_image;
    bool m_canShowCallout = false;
    QPointF m_centerOffset;
    QPointer<QWidget> m_left;
    QPointer<QWidget> m_right;
};
