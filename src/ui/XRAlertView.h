#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;
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

// A modal alert inside the window: it dims the window, shows a title, a
// message and its buttons, and does not block the caller. Pressing a button
// tells the delegate and closes the alert; closing it from code tells only of
// the dismissal. Button indexes: the cancel button first, then the others in order.
class XRAlertView : public QWidget
{
    Q_OBJECT
public:
    XRAlertView(const QString &title, const QString &message, XRAlertViewDelegate *delegate,
                const QString &cancelButtonTitle, const QStringList &otherButtonTitles = {});
    ~XRAlertView() override;

    // Places the alert over the main window, above everything.
    void show();
    void dismissWithClickedButtonIndex(int buttonIndex);
    // The panel in window coordinates, once shown.
    QRect panelGeometry() const;

    QString title() const { return m_title; }
    QString message() const { return m_message; }
    QStringList buttonTitles() const { return m_buttonTitles; }
    int cancelButtonIndex() const { return m_cancelButtonTitle.isEmpty() ? -1 : 0; }
    QPushButton *button(int index) const;
    // Extra content between the message and the buttons (a list, a field).
    // Given again, also while shown, the height replaces the earlier one and
    // the panel grows or shrinks about its centre.
    void setAccessoryView(QWidget *view, int height);

    // The alerts now shown, oldest first.
    static QList<XRAlertView *> visibleAlerts();

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void layOut();
    void fitPanel();
    void buttonPressed(int buttonIndex);

    QString m_title;
    QString m_message;
    QString m_cancelButtonTitle;
    QStringList m_buttonTitles;
    XRAlertViewDelegate *m_delegate;
    QWidget *m_panel;
    QWidget *m_accessory = nullptr;
    int m_accessoryHeight = 0;
    QList<QPushButton *> m_buttons;
};
