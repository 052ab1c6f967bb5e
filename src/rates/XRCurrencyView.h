#pragma once

#include <QWidget>

class XRCurrencyViewController;

// The currency screen's background: a touch on it ends the amount editing and
// goes no further.
class XRCurrencyView : public QWidget
{
    Q_OBJECT
public:
    explicit XRCurrencyView(QWidget *parent = nullptr);

    XRCurrencyViewController *myVC() const { return m_myVC; }
    void setMyVC(XRCurrencyViewController *controller) { m_myVC = controller; }

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    XRCurrencyViewController *m_myVC = nullptr;
};
