#include "XRNewsStoryViewController.h"

#include "XRApplication.h"
#include "XRLocalizedString.h"

#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {
const char storyStyle[] =
    "QLabel#storyPubLabel { color: #4a5a75; font-size: 12px; }"
    "QTextEdit#storyTV { font-size: 15px; color: black; background: white; border: none; }"
    "QPushButton#readMoreButton { font-size: 15px; font-weight: bold; color: white; background: #3f6ab0;"
    " border: 1px solid #2a4a80; border-radius: 8px; padding: 8px; }"
    "QPushButton#readMoreButton:pressed { background: #2a4a80; }";
}

XRNewsStoryViewController::XRNewsStoryViewController(QObject *parent)
    : XRViewController(parent)
{
    setViewStyleSheet(storyStyle);
}

QUrl XRNewsStoryViewController::URLWithString(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    return url.isValid() ? url : QUrl();
}

QWidget *XRNewsStoryViewController::loadView()
{
    QWidget *view = XRViewController::loadView();
    auto *layout = new QVBoxLayout(view);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);

    m_storyPubLabel = new QLabel(view);
    m_storyPubLabel->setObjectName(QStringLiteral("storyPubLabel"));
    layout->addWidget(m_storyPubLabel);

    m_storyTV = new QTextEdit(view);
    m_storyTV->setObjectName(QStringLiteral("storyTV"));
    m_storyTV->setReadOnly(true);
    m_storyTV->setFrameShape(QFrame::NoFrame);
    // A screen reader names the text by the story it tells.
    m_storyTV->setAccessibleName(title());
    layout->addWidget(m_storyTV, 1);

    m_readMoreButton = new QPushButton(XRLocalizedString("Read more"), view);
    m_readMoreButton->setObjectName(QStringLiteral("readMoreButton"));
    connect(m_readMoreButton, &QPushButton::clicked, this, &XRNewsStoryViewController::readMoreButtonPressed);
    layout->addWidget(m_readMoreButton);
    return view;
}

void XRNewsStoryViewController::viewDidLoad()
{
    XRViewController::viewDidLoad();
    showReadMoreButtonIfOpenable();
}

void XRNewsStoryViewController::setReadMoreURL(const QUrl &url)
{
    m_readMoreURL = url;
    showReadMoreButtonIfOpenable();
}

void XRNewsStoryViewController::showReadMoreButtonIfOpenable()
{
    if (m_readMoreButton)
        m_readMoreButton->setVisible(XRApplication::sharedApplication().canOpenURL(m_readMoreURL));
}

void XRNewsStoryViewController::readMoreButtonPressed()
{
    XRApplication::sharedApplication().openURL(m_readMoreURL);
}
