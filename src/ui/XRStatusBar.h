#pragma once

#include <QWidget>

class QLabel;
class XRActivityIndicatorView;

// The 20-point strip at the top of the window: the carrier-free status of a
// desktop phone screen, the time, and the network activity indicator.
class XRStatusBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int height = 20;
    // Styles as the phone numbers them: 0 default (grey), 1 black translucent, 2 black opaque.
    explicit XRStatusBar(QWidget *parent = nullptr);

    void setStyle(int style);
    int style() const { return m_style; }
    void setNetworkActivityIndicatorVisible(bool visible);
    bool isNetworkActivityIndicatorVisible() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void updateClock();

    int m_style = 0;
    QLabel *m_clock;
    XRActivityIndicatorView *m_activity;
};
