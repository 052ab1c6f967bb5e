#include "XRWindow.h"

#include "XRImage.h"
#include "XRKeyboardFocus.h"
#include "XRStatusBar.h"
#include "XRViewController.h"

#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QPropertyAnimation>
#include <QTimer>

#include <utility>

namespace {
XRWindow *current = nullptr;
constexpr int slideMilliseconds = 300;
// A window that is never exposed (started minimised) draws nothing: the work
// waiting for its first frame runs after this long all the same.
constexpr int firstFrameLimitMilliseconds = 1000;

QIcon applicationIcon()
{
    QIcon icon;
    for (const char *size : {"32x32", "64x64", "256x256"})
        icon.addPixmap(xr::pngPixmap(QStringLiteral(":/icons/%1/apps/vaxlo.png").arg(QLatin1String(size))));
    return icon;
}

} // namespace

XRWindow::XRWindow(QWidget *parent)
    : QWidget(parent)
    , m_statusBar(new XRStatusBar(this))
{
    setObjectName(QStringLiteral("window"));
    setFixedSize(width, height);
    setWindowTitle(QStringLiteral("Växlo"));
    setAutoFillBackground(true);
    QPalette background = palette();
    background.setColor(QPalette::Window, Qt::black);
    setPalette(background);
    current = this;
}

XRWindow::~XRWindow()
{
    if (current == this)
        current = nullptr;
}

XRWindow *XRWindow::mainWindow()
{
    return current;
}

void XRWindow::makeKeyAndVisible()
{
    if (m_firstFrame == FirstFrame::NotShown) {
        m_firstFrame = FirstFrame::Pending;
        qApp->installEventFilter(this);
        QTimer::singleShot(firstFrameLimitMilliseconds, this, &XRWindow::firstFrameDrawn);
        // The icon's pictures are decoded once the window has drawn.
        afterFirstFrame([this] { setWindowIcon(applicationIcon()); });
    }
    if (m_root) {
        QWidget *view = m_root->viewIn(this);
        view->setGeometry(0, XRStatusBar::height, width, height - XRStatusBar::height);
        view->show();
        view->lower();
        m_root->beginAppearanceTransition(true, false);
    }
    show();
    activateWindow();
    if (m_root)
        m_root->endAppearanceTransition(true, false);
}

void XRWindow::afterFirstFrame(std::function<void()> work)
{
    if (m_firstFrame == FirstFrame::Pending)
        m_afterFirstFrame.push_back(std::move(work));
    else
        work();
}

bool XRWindow::eventFilter(QObject *watched, QEvent *event)
{
    // The window's children paint inside the same frame, and the frame is
    // flushed before the event loop turns again.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (event->type() == QEvent::Paint && widget && (widget == this || isAncestorOf(widget))) {
        qApp->removeEventFilter(this);
        QTimer::singleShot(0, this, &XRWindow::firstFrameDrawn);
    }
    return QWidget::eventFilter(watched, event);
}

void XRWindow::firstFrameDrawn()
{
    if (m_firstFrame == FirstFrame::Drawn)
        return;
    m_firstFrame = FirstFrame::Drawn;
    qApp->removeEventFilter(this);
    for (const std::function<void()> &work : std::exchange(m_afterFirstFrame, {}))
        work();
}

void XRWindow::presentModal(XRViewController *controller, bool animated)
{
    // The screens below disappear while a modal screen covers them.
    XRViewController *covered = m_modals.isEmpty() ? m_root : m_modals.last();
    if (covered)
        covered->beginAppearanceTransition(false, animated);
    controller->beginAppearanceTransition(true, animated);
    m_modals.append(controller);
    m_focusBeforeModals.append(QApplication::focusWidget());
    QWidget *view = controller->viewIn(this);
    const QRect frame(0, XRStatusBar::height, width, height - XRStatusBar::height);
    view->setGeometry(frame);
    view->show();
    view->raise();
    if (animated) {
        auto *slide = new QPropertyAnimation(view, "pos", view);
        slide->setDuration(slideMilliseconds);
        slide->setStartValue(QPoint(0, height));
        slide->setEndValue(frame.topLeft());
        slide->start(QAbstractAnimation::DeleteWhenStopped);
    }
    if (covered)
        covered->endAppearanceTransition(false, animated);
    controller->endAppearanceTransition(true, animated);
    xr::focusFirstControl(view);
}

void XRWindow::dismissModal(XRViewController *controller, bool animated)
{
    const qsizetype index = m_modals.indexOf(controller);
    if (index < 0)
        return;
    m_modals.removeAt(index);
    const QPointer<QWidget> focusBefore = m_focusBeforeModals.takeAt(index);
    XRViewController *uncovered = m_modals.isEmpty() ? m_root : m_modals.last();
    controller->beginAppearanceTransition(false, animated);
    if (uncovered)
        uncovered->beginAppearanceTransition(true, animated);
    if (controller->isViewLoaded())
        controller->view()->hide();
    controller->endAppearanceTransition(false, animated);
    if (uncovered)
        uncovered->endAppearanceTransition(true, animated);
    if (focusBefore && focusBefore->isVisible())
        focusBefore->setFocus();
}

void XRWindow::keyPressEvent(QKeyEvent *event)
{
    XRViewController *top = m_modals.isEmpty() ? m_root : m_modals.last();
    if (event->key() == Qt::Key_Escape && top && top->goBack())
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool XRWindow::focusNextPrevChild(bool next)
{
    if (m_modals.isEmpty() || !m_modals.last()->isViewLoaded())
        return QWidget::focusNextPrevChild(next);
    return xr::focusNextControlInside(m_modals.last()->view(), next);
}
