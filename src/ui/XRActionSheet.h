#pragma once

#include <QStringList>
#include <QWidget>

class QPushButton;
class XRActionSheet;

class XRActionSheetDelegate
{
public:
    virtual ~XRActionSheetDelegate() = default;
    virtual void actionSheetClickedButtonAtIndex(XRActionSheet *actionSheet, int buttonIndex)
    {
        Q_UNUSED(actionSheet);
        Q_UNUSED(buttonIndex);
    }
};

// A sheet of choices that rises from the bottom of the window; it does not
// block the caller. Button indexes: the other buttons in order, then cancel.
class XRActionSheet : public QWidget
{
    Q_OBJECT
public:
    XRActionSheet(const QString &title, XRActionSheetDelegate *delegate, const QString &cancelButtonTitle,
                  const QStringList &otherButtonTitles);
    ~XRActionSheet() override;

    void show();
    void dismissWithClickedButtonIndex(int buttonIndex);

    QString title() const { return m_title; }
    QStringList buttonTitles() const { return m_buttonTitles; }
    int cancelButtonIndex() const { return m_cancelIndex; }
    QPushButton *button(int index) const;

    static QList<XRActionSheet *> visibleSheets();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_title;
    QStringList m_buttonTitles;
    int m_cancelIndex = -1;
    XRActionSheetDelegate *m_delegate;
    QWidget *m_panel;
    QList<QPushButton *> m_buttons;
};
