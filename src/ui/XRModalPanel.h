#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;

// What alerts and action sheets share: a panel of buttons over the dimmed
// window that does not block the caller. Pressing a button dismisses the
// panel with that button; a dismissed panel is deleted later.
class XRModalPanel : public QWidget
{
    Q_OBJECT
public:
    ~XRModalPanel() override;

    // Places the panel over the main window, above everything.
    void show();
    // Hides a shown panel; does nothing to one that is not shown.
    void dismissWithClickedButtonIndex(int buttonIndex);

    QString title() const { return m_title; }
    QStringList buttonTitles() const { return m_buttonTitles; }
    QPushButton *button(int index) const;

protected:
    XRModalPanel(const QString &title, const QStringList &buttonTitles, const char *styleSheet, int dimming);

    // Arranges the title, the buttons and any extra content in panel().
    virtual void layOut() = 0;
    // A button pressed by the user; the panel is dismissed with it.
    virtual void buttonPressed(int buttonIndex) { dismissWithClickedButtonIndex(buttonIndex); }
    // Around showing and dismissing, for the subclasses' delegates.
    virtual void willPresent() {}
    virtual void didPresent() {}
    virtual void willDismiss(int buttonIndex) { Q_UNUSED(buttonIndex); }
    virtual void didDismiss(int buttonIndex) { Q_UNUSED(buttonIndex); }

    QWidget *panel() const { return m_panel; }
    const QList<QPushButton *> &buttons() const { return m_buttons; }
    // Every alert and sheet now shown, oldest first.
    static const QList<XRModalPanel *> &shownPanels();

    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QStringList m_buttonTitles;
    int m_dimming;
    QWidget *m_panel;
    QList<QPushButton *> m_buttons;
};
