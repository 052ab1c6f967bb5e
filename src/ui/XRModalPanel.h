#pragma once

#include <QAccessible>
#include <QPointer>
#include <QStringList>
#include <QWidget>

class QPushButton;

// What alerts and action sheets share: a panel of buttons over the dimmed
// window that does not block the caller. Pressing a button dismisses the
// panel with that button; a dismissed panel is deleted later. While shown it
// keeps the keyboard: Tab stays among its controls, Return presses the
// focused button (the default one at first), Escape cancels.
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
    QAccessible::Role accessibleRole() const { return m_role; }
    // The button Escape stands for; -1 when there is none.
    virtual int cancelButtonIndex() const = 0;

protected:
    // A screen reader meets the panel in the given role, named by its title.
    XRModalPanel(const QString &title, const QStringList &buttonTitles, const char *styleSheet, int dimming,
                 QAccessible::Role role);

    // The button that has the focus when the panel shows.
    virtual int defaultButtonIndex() const = 0;
    // Escape with a cancel button: the panel closes with it.
    virtual void cancelled() { dismissWithClickedButtonIndex(cancelButtonIndex()); }

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
    void keyPressEvent(QKeyEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    QString m_title;
    QStringList m_buttonTitles;
    int m_dimming;
    QWidget *m_panel;
    QList<QPushButton *> m_buttons;
    QAccessible::Role m_role;
    // Where the keyboard was before the panel took it, and goes back to.
    QPointer<QWidget> m_focusBefore;
};
