#pragma once

#include <QWidget>

class QLabel;
class XRAnnotationView;

// The bubble over a chosen pin: its left accessory, the annotation's title and
// subtitle, and its right accessory.
class XRCalloutView : public QWidget
{
    Q_OBJECT
public:
    XRCalloutView(XRAnnotationView *pin, QWidget *parent);

    QString title() const;
    QString subtitle() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QLabel *m_title;
    QLabel *m_subtitle;
};
