#pragma once

#include <QColor>
#include <QWidget>

class QTimer;

// A spinning activity indicator: twelve spokes, the brightest one turning.
class XRActivityIndicatorView : public QWidget
{
    Q_OBJECT
public:
    enum Style { WhiteLarge = 0, White = 1, Gray = 2 };

    explicit XRActivityIndicatorView(Style style, QWidget *parent = nullptr);

    void startAnimating();
    void stopAnimating();
    bool isAnimating() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QColor m_color;
    QTimer *m_timer;
    int m_step = 0;
};
