#include "XRNewsViewController.h"

#include "XRApplication.h"
#include "XRApplicationDelegate.h"
#include "XRImage.h"
#include "XRLocalizedString.h"
#include "XRLog.h"
#include "XRNavigationController.h"
#include "XRNewsFeedLoader.h"
#include "XRNewsStoryViewController.h"
#include "XRNotificationCenter.h"
#include "XRNotifications.h"

#include <QLabel>
#include <QPixmap>
#include <QTextEdit>
#include <QTimer>

namespace {

const QString feedCellIdentifier = QStringLiteral("myFeedIdentifier");

// A new row: the disclosure mark, the dark grey date text, and the glass
// picture over everything.
XRTableViewCell *makeFeedCell()
{
    auto *cell = new XRTableViewCell(feedCellIdentifier);
    cell->setAccessoryType(XRTableViewCell::AccessoryDisclosureIndicator);
    cell->detailTextLabel()->setStyleSheet(QStringLiteral("color: rgba(51, 51, 51, 255);"));
    auto *glass = new QLabel(cell);
    glass->setObjectName(QStringLiteral("Vaxlo_glassigt"));
    glass->setPixmap(xr::pngPixmap(QStringLiteral(":/images/Vaxlo_glassigt.png")));
    glass->adjustSize();
    glass->move(0, 0);
    glass->setAttribute(Qt::WA_TransparentForMouseEvents);
    glass->raise();
    return cell;
}

} // namespace

XRNewsViewController::XRNewsViewController(QObject *parent)
    : XRViewController(parent)
    , m_feed(new XRNewsFeedLoader(
          XRApplication::sharedApplication().delegate(),
          [this] {
              if (m_tableView)
                  m_tableView->reloadData();
          },
          this))
{
}

XRNewsViewController::~XRNewsViewController()
{
    XRNotificationCenter::defaultCenter().removeObserver(this);
}

QWidget *XRNewsViewController::loadView()
{
    m_tableView = new XRTableView;
    m_tableView->setDataSource(this);
    m_tableView->setDelegate(this);
    m_tableView->resize(320, 367);
    return m_tableView;
}

void XRNewsViewController::viewDidLoad()
{
    XRViewController::viewDidLoad();
    setTitle(XRLocalizedString("News"));
    m_tableView->setAccessibleName(title());
    if (!m_feed->stories()) {
        // The splash is drawn before the fetch starts.
        if (XRApplicationDelegate *appDelegate = XRApplication::sharedApplication().delegate())
            appDelegate->displayLoadingSplash();
        QTimer::singleShot(firstLoadDelayMilliseconds, this, &XRNewsViewController::loadNews);
    }
    XRNotificationCenter::defaultCenter().addObserver(this, XRLanguageChangedNotification,
                                                      [this](const XRNotification &) { loadNews(); });
    m_tableView->reloadData();
}

void XRNewsViewController::viewDidUnload()
{
    XRNotificationCenter::defaultCenter().removeObserver(this);
    m_tableView = nullptr;
    XRViewController::viewDidUnload();
}

void XRNewsViewController::loadNews()
{
    m_feed->loadNews();
}

QVariantList XRNewsViewController::stories() const
{
    return m_feed->stories().value_or(QVariantList());
}

bool XRNewsViewController::isLoading() const
{
    return m_feed->isLoading();
}

int XRNewsViewController::numberOfSectionsInTableView(XRTableView *)
{
    return 1;
}

int XRNewsViewController::tableViewNumberOfRowsInSection(XRTableView *, int)
{
    return int(stories().size());
}

int XRNewsViewController::tableViewHeightForRowAtIndexPath(XRTableView *, const XRIndexPath &)
{
    return rowHeight;
}

XRTableViewCell *XRNewsViewController::tableViewCellForRowAtIndexPath(XRTableView *tableView,
                                                                      const XRIndexPath &indexPath)
{
    XRTableViewCell *cell = tableView->dequeueReusableCellWithIdentifier(feedCellIdentifier);
    if (!cell)
        cell = makeFeedCell();
    const QVariantMap story = stories().value(indexPath.row).toMap();
    cell->textLabel()->setText(story.value(QStringLiteral("title")).toString());
    // A title longer than the row ends in an ellipsis; the pointer shows it whole.
    cell->setToolTip(cell->textLabel()->text());
    cell->detailTextLabel()->setText(story.value(QStringLiteral("datestring")).toString());
    return cell;
}

void XRNewsViewController::tableViewDidSelectRowAtIndexPath(XRTableView *tableView, const XRIndexPath &indexPath)
{
    tableView->deselectRowAtIndexPath(indexPath, true);
    XRNavigationController *navigation = navigationController();
    if (!navigation) {
        qCWarning(lcNews, "The news list is not in a navigation stack: no story to show");
        return;
    }
    const QVariantMap story = stories().value(indexPath.row).toMap();
    auto *storyViewController = new XRNewsStoryViewController;
    storyViewController->setTitle(story.value(QStringLiteral("title")).toString());
    storyViewController->setReadMoreURL(XRNewsStoryViewController::URLWithString(story.value(QStringLiteral("link")).toString()));
    navigation->pushViewController(storyViewController, true);
    storyViewController->storyTV()->setPlainText(story.value(QStringLiteral("summary")).toString());
    storyViewController->storyPubLabel()->setText(
        QStringLiteral("%1: %2").arg(XRLocalizedString("PublishedDateString"),
                                     story.value(QStringLiteral("datestring")).toString()));
}
