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
    // Escape closes an alert with a cancel button without pressing it.
    virtual void alertViewCancel(XRAlertView *alertView) { Q_UNUSED(alertView); }
    virtual void willPresentAlertView(XRAlertView *alertView) { Q_UNUSED(alertView); }
    virtual void didPresentAlertView(XRAlertView *alertView) { Q_UNUSED(alertView); }
    virtual void alertViewWillDismissWithButtonIndex(XRAlertView *alertView, int buttonIndex)
    {
        Q_UNUSED(alertView);
        Q_UNUSED(buttonIndex);
    }
    virtual void alertViewDidDismissWithButtonIndex(XRAlertView *alertView, int buttonIndex)
    {
        Q_UNUSED(alertView);
        Q_UNUSED(buttonIndex);
    }
};

// A modal alert inside the window: it dims the window and shows a title, a
// message and its buttons. Pressing a button tells the delegate and closes
// the alert; closing it from code tells only of the dismissal. Button indexes:
// the cancel button first, then the others in order.
class XRAlertView : public XRModalPanel
{
    Q_OBJECT
public:
    XRAlertView(const QString &title, const QString &message, XRAlertViewDelegate *delegate,
                const QString &cancelButtonTitle, const QStringList &otherButtonTitles = {});

    QString message() const { return m_message; }
    int cancelButtonIndex() const override { return m_hasCancelButton ? 0 : -1; }
    // Extra content between the message and the buttons (a list, a field).
    // Given again, also while shown, the height replaces the earlier one and
    // the panel grows or shrinks about its centre.
    void setAccessoryView(QWidget *view, int height);
    // The panel in window coordinates, once shown.
    QRect panelGeometry() const;

    // The alerts now shown, oldest first.
    static QList<XRAlertView *> visibleAlerts();

protected:
    void layOut() override;
    // The first of the other buttons, or the cancel button when it is alone.
    int defaultButtonIndex() const override { return m_hasCancelButton && buttons().size() > 1 ? 1 : 0; }
    void cancelled() override;
    void buttonPressed(int buttonIndex) override;
    void willPresent() override;
    void didPresent() override;
    void willDismiss(int buttonIndex) override;
    void didDismiss(int buttonIndex) override;

private:
    void fitPanel();

    QString m_message;
    bool m_hasCancelButton;
    XRAlertViewDelegate *m_delegate;
    QWidget *m_accessory = nullptr;
    int m_accessoryHeight = 0;
};
