#pragma once

#include "XRViewController.h"

#include <QUrl>

class QLabel;
class QPushButton;
class QTextEdit;

// One news story: its summary, when it was published, and a button that opens
// the whole article in the browser when the desktop can open its address.
class XRNewsStoryViewController : public XRViewController
{
    Q_OBJECT
public:
    explicit XRNewsStoryViewController(QObject *parent = nullptr);

    // The address of a link, or an empty URL when the link is not a valid address.
    static QUrl URLWithString(const QString &link);

    // The parts of the view; null until it is loaded.
    QTextEdit *storyTV() const { return m_storyTV; }
    QLabel *storyPubLabel() const { return m_storyPubLabel; }
    QPushButton *readMoreButton() const { return m_readMoreButton; }

    QUrl readMoreURL() const { return m_readMoreURL; }
    // Also before the view exists: the button follows the address once it does.
    void setReadMoreURL(const QUrl &url);
    void readMoreButtonPressed();

protected:
    QWidget *loadView() override;
    void viewDidLoad() override;

private:
    void showReadMoreButtonIfOpenable();

    QTextEdit *m_storyTV = nullptr;
    QLabel *m_storyPubLabel = nullptr;
    QPushButton *m_readMoreButton = nullptr;
    QUrl m_readMoreURL;
};
