#pragma once

#include "XRModalPanel.h"

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

// A sheet of choices that rises from the bottom of the window. Button indexes:
// the other buttons in order, then cancel.
class XRActionSheet : public XRModalPanel
{
    Q_OBJECT
public:
    XRActionSheet(const QString &title, XRActionSheetDelegate *delegate, const QString &cancelButtonTitle,
                  const QStringList &otherButtonTitles);

    int cancelButtonIndex() const override { return m_cancelIndex; }

    static QList<XRActionSheet *> visibleSheets();

protected:
    void layOut() override;
    int defaultButtonIndex() const override { return 0; }
    void didDismiss(int buttonIndex) override;

private:
    int m_cancelIndex;
    XRActionSheetDelegate *m_delegate;
};
