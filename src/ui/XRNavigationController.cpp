#include "XRNavigationController.h"

#include "XRKeyboardFocus.h"
#include "XRLocalizedString.h"

#include <QEvent>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {
const char barStyle[] = "QWidget#navigationBar { background: qlineargradient(x1:0, y1:0, x2:0, y2:1,"
                        " stop:0 #7a8aa0, stop:1 #4a5a75); }"
                        "QLabel { color: white; font-weight: bold; font-size: 17px; }"
                        "QPushButton { color: white; font-size: 12px; font-weight: bold; background: #3b4a63;"
                        " border: 1px solid #2a364a; border-radius: 5px; padding: 4px 8px; }"
                        "QPushButton:pressed { background: #26324a; }";
}

XRNavigationController::XRNavigationController(XRViewController *rootViewController, QObject *parent)
    : XRViewController(parent)
{
    rootViewController->setParent(this);
    rootViewController->setParentViewController(this);
    m_stack.append(rootViewController);
    connect(rootViewController, &XRViewController::navigationItemChanged, this, &XRNavigationController::updateBar);
}

QWidget *XRNavigationController::loadView()
{
    QWidget *view = XRViewController::loadView();
    // Made before the bar, so that the keyboard arrives at the screen's own
    // controls before the bar's buttons.
    m_content = new QWidget(view);
    m_content->setGeometry(0, barHeight, 320, view->height() - barHeight);
    m_bar = new QWidget(view);
    m_bar->setObjectName(QStringLiteral("navigationBar"));
    m_bar->setAttribute(Qt::WA_StyledBackground);
    m_bar->setStyleSheet(QString::fromLatin1(barStyle));
    m_bar->setGeometry(0, 0, 320, barHeight);
    m_titleLabel = new QLabel(m_bar);
    m_titleLabel->setObjectName(QStringLiteral("navigationTitle"));
    m_titleLabel->setAlignment(Qt::AlignCenter);
    m_titleLabel->setGeometry(80, 0, 160, barHeight);
    m_leftButton = new QPushButton(m_bar);
    m_leftButton->setObjectName(QStringLiteral("navigationLeftButton"));
    m_rightButton = new QPushButton(m_bar);
    m_rightButton->setObjectName(QStringLiteral("navigationRightButton"));
    // The container that shows this stack sets its size after the view is made.
    view->installEventFilter(this);
    connect(m_leftButton, &QPushButton::clicked, this, [this] {
        XRViewController *top = topViewController();
        if (top && top->leftBarButtonItem().action)
            top->leftBarButtonItem().action();
        else if (m_stack.size() > 1)
            popViewController(true);
    });
    connect(m_rightButton, &QPushButton::clicked, this, [this] {
        XRViewController *top = topViewController();
        if (top && top->rightBarButtonItem().action)
            top->rightBarButtonItem().action();
    });
    showTop();
    return view;
}

bool XRNavigationController::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize && isViewLoaded() && watched == view())
        layOutContent();
    return XRViewController::eventFilter(watched, event);
}

void XRNavigationController::layOutContent()
{
    m_content->setGeometry(0, barHeight, view()->width(), view()->height() - barHeight);
    if (XRViewController *top = topViewController(); top && top->isViewLoaded())
        top->view()->setGeometry(m_content->rect());
}

void XRNavigationController::setUpButton(QPushButton *button, const XRBarButtonItem &item)
{
    button->setText(item.title);
    if (!item.objectName.isEmpty())
        button->setObjectName(item.objectName);
    button->adjustSize();
    button->setVisible(!item.title.isEmpty());
}

void XRNavigationController::updateBar()
{
    XRViewController *top = topViewController();
    if (!m_bar || !top)
        return;
    XRBarButtonItem left = top->leftBarButtonItem();
    if (left.title.isEmpty() && m_stack.size() > 1) {
        const QString previous = m_stack.at(m_stack.size() - 2)->title();
        left.title = previous.isEmpty() ? XRLocalizedString("Back") : previous;
    }
    m_leftButton->setObjectName(QStringLiteral("navigationLeftButton"));
    m_rightButton->setObjectName(QStringLiteral("navigationRightButton"));
    setUpButton(m_leftButton, left);
    setUpButton(m_rightButton, top->rightBarButtonItem());
    m_leftButton->move(6, (barHeight - m_leftButton->height()) / 2);
    m_rightButton->move(320 - 6 - m_rightButton->width(), (barHeight - m_rightButton->height()) / 2);
    layOutTitle(top->title());
}

// The title is centred in the bar when it fits between the buttons there;
// a longer one (a news story's) takes all the room the buttons leave, and ends
// in an ellipsis only when even that is too little.
void XRNavigationController::layOutTitle(const QString &title)
{
    const int gap = 6;
    const int left = m_leftButton->isHidden() ? gap : m_leftButton->geometry().right() + 1 + gap;
    const int right = m_rightButton->isHidden() ? 320 - gap : m_rightButton->x() - gap;
    const int inset = std::max(left, 320 - right);
    m_titleLabel->ensurePolished();
    const bool fitsCentred = m_titleLabel->fontMetrics().horizontalAdvance(title) <= 320 - 2 * inset;
    m_titleLabel->setGeometry(fitsCentred ? QRect(inset, 0, 320 - 2 * inset, barHeight) : QRect(left, 0, right - left, barHeight));
    m_titleLabel->setText(m_titleLabel->fontMetrics().elidedText(title, Qt::ElideRight, m_titleLabel->width()));
    m_titleLabel->setToolTip(title);
}

void XRNavigationController::showTop()
{
    XRViewController *top = topViewController();
    if (!m_content || !top)
        return;
    QWidget *topView = top->viewIn(m_content);
    topView->setGeometry(0, 0, m_content->width(), m_content->height());
    topView->show();
    topView->raise();
    updateBar();
}

void XRNavigationController::pushViewController(XRViewController *controller, bool animated)
{
    XRViewController *previous = topViewController();
    controller->setParent(this);
    controller->setParentViewController(this);
    connect(controller, &XRViewController::navigationItemChanged, this, &XRNavigationController::updateBar);
    const bool visible = isVisible();
    if (visible) {
        previous->beginAppearanceTransition(false, animated);
        controller->beginAppearanceTransition(true, animated);
    }
    m_stack.append(controller);
    showTop();
    if (previous && previous->isViewLoaded())
        previous->view()->hide();
    if (visible) {
        previous->endAppearanceTransition(false, animated);
        controller->endAppearanceTransition(true, animated);
        // The keyboard follows the customer to the new screen.
        xr::focusFirstControl(controller->view());
    }
}

XRViewController *XRNavigationController::popViewController(bool animated)
{
    if (m_stack.size() < 2)
        return nullptr;
    XRViewController *popped = m_stack.takeLast();
    XRViewController *top = topViewController();
    const bool visible = isVisible();
    if (visible) {
        popped->beginAppearanceTransition(false, animated);
        top->beginAppearanceTransition(true, animated);
    }
    if (popped->isViewLoaded())
        popped->view()->hide();
    showTop();
    if (visible) {
        popped->endAppearanceTransition(false, animated);
        top->endAppearanceTransition(true, animated);
        xr::focusFirstControl(top->view());
    }
    disconnect(popped, nullptr, this, nullptr);
    popped->deleteLater();
    return popped;
}

bool XRNavigationController::goBack()
{
    if (XRViewController::goBack())
        return true;
    XRViewController *top = topViewController();
    if (top && top->leftBarButtonItem().action) {
        top->leftBarButtonItem().action();
        return true;
    }
    return popViewController(true) != nullptr;
}
