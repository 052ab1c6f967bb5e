#pragma once

#include "XRModalPanel.h"

class XRAlertView;

class XRAlertViewDelegate
{
public:
    virtual ~XRAlertViewDelegate() = default;
    virtual void alertViewClickedButtonAtIndex(XRAlertView *alertView, int buttonIndex)
    {
        Q_UNUSED(alertView);
        Q_UNUSED(buttonIndex);
    }
};

// A modal alert inside the window: it dims the window and shows a title, a
// message and its buttons. Button indexes: the cancel button first, then the
// others in order.
class XRAlertView : public XRModalPanel
{
    Q_OBJECT
public:
    XRAlertView(const QString &title, const QString &message, XRAlertViewDelegate *delegate,
                const QString &cancelButtonTitle, const QStringList &otherButtonTitles = {});

    QString message() const { return m_message; }
    int cancelButtonIndex() const { return m_hasCancelButton ? 0 : -1; }
    // Extra content between the message and the buttons (a list, a field).
    void setAccessoryView(QWidget *view, int height);

    // The alerts now shown, oldest first.
    static QList<XRAlertView *> visibleAlerts();

protected:
    void layOut() override;
    void reportClickedButton(int buttonIndex) override;

private:
    QString m_message;
    bool m_hasCancelButton;
    XRAlertViewDelegate *m_delegate;
    QWidget *m_accessory = nullptr;
    int m_accessoryHeight = 0;
};
