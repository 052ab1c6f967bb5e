// A customer's walk through the real `vaxlo`, loaded into it with LD_PRELOAD by
// the end-to-end test. Once the window is up it presses the screens' own
// buttons, saves a screenshot at each step, writes what the screens show as
// tab-separated lines to $XR_WALK_LOG, and quits. It knows the application only
// through Qt: widgets by object name and the texts they show.

#include "EventLoop.h"
#include "Screenshots.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <algorithm>

namespace {

class CustomerWalker : public QObject
{
    Q_OBJECT

public:
    explicit CustomerWalker(QWidget *window)
        : m_window(window)
        , m_log(qEnvironmentVariable("XR_WALK_LOG"))
    {
        m_log.open(QIODevice::WriteOnly | QIODevice::Truncate);
        // A link the application opens is written down, never handed to a browser.
        for (const char *scheme : {"http", "https", "tel"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "record");
    }
    ~CustomerWalker() override
    {
        for (const char *scheme : {"http", "https", "tel"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    Q_INVOKABLE void record(const QUrl &url) { say("opened", url.toString()); }

    void walk()
    {
        const bool walked = converter() && stores() && news() && reservation() && denmark();
        say(walked ? "done" : "failed");
    }

private:
    bool converter()
    {
        QPushButton *pick = visible<QPushButton>("pickCurrencyButton");
        if (!step("rates", "01-rates", [pick] { return pick->isEnabled(); }))
            return false;
        say("rates", pick->text(), text("lastUpdateLabel"));
        click(pick);
        if (!step("wheel", nullptr, [this] { return visible<QListWidget>("pickerRows"); }))
            return false;
        auto *wheel = visible<QListWidget>("pickerRows");
        const QList<QListWidgetItem *> dollars = wheel->findItems(QStringLiteral("USD"), Qt::MatchEndsWith);
        if (dollars.isEmpty())
            return step("a dollar row", nullptr, [] { return false; });
        wheel->scrollToItem(dollars.first());
        QTest::mouseClick(wheel->viewport(), Qt::LeftButton, {}, wheel->visualItemRect(dollars.first()).center());
        shot("02-wheel");
        click(visible<QPushButton>("doneButton"));
        if (!step("wheel closed", nullptr, [this] { return !visible<QListWidget>("pickerRows"); }))
            return false;
        say("picked", pick->text());
        type("amountTF", QStringLiteral("100"));
        say("buy", conversion());
        shot("03-buy");
        click(visible<QPushButton>("sellSegment"));
        say("sell", conversion());
        shot("04-sell");
        return true;
    }

    bool stores()
    {
        click(visible<QAbstractButton>("tab1"));
        // The replayed walk reports a position a second; the list orders itself at each.
        if (!step("distances", "05-stores", [this] { return !rowText(0, "distanceLabel").isEmpty(); }))
            return false;
        const auto row = [this](int i) { return rowText(i, "nameLabel") + u'|' + rowText(i, "distanceLabel"); };
        say("stores", row(0), row(1), row(2));
        click(storeRows().first()->findChild<QPushButton *>(QStringLiteral("defaultButton")));
        say("default", rowText(0, "nameLabel"));
        QWidget *first = storeRows().first();
        QTest::mouseClick(first->parentWidget(), Qt::LeftButton, {}, first->geometry().topLeft() + QPoint(100, 30));
        if (!step("map", nullptr, [this] { return visible<QWidget>("annotationView"); }))
            return false;
        QTest::mouseClick(visible<QWidget>("annotationView"), Qt::LeftButton, {}, QPoint(25, 15));
        if (!step("callout", "06-map", [this] { return visible<QWidget>("callout"); }))
            return false;
        say("callout", text("calloutTitle"));
        click(visible<QPushButton>("detailDisclosureButton"));
        click(visible<QPushButton>("doneButton"));
        return step("back to the list", nullptr, [this] { return !visible<QWidget>("mapScreen"); });
    }

    bool news()
    {
        click(visible<QAbstractButton>("tab2"));
        return readFirstStory("story", "07-news", "08-story");
    }

    // Opens the news list's first story (once the list no longer shows the story
    // read before), notes its title and date, opens its link and goes back.
    bool readFirstStory(const char *key, const char *listShot, const char *storyShot)
    {
        QLabel *title = nullptr;
        const auto listed = [this, &title] {
            const auto labels = m_window->findChildren<QLabel *>(QStringLiteral("textLabel"));
            const auto top = std::find_if(labels.begin(), labels.end(),
                                          [](QLabel *l) { return l->isVisible() && l->parentWidget()->y() == 0; });
            title = top == labels.end() ? nullptr : *top;
            return title && !title->text().isEmpty() && title->text() != m_storyTitle && !visible<QWidget>("loadingSplash");
        };
        if (!step(key, listShot, listed))
            return false;
        m_storyTitle = title->text();
        QTest::mouseClick(title->parentWidget()->parentWidget(), Qt::LeftButton, {}, title->parentWidget()->geometry().center());
        if (!step("the story", storyShot, [this] { return visible<QPushButton>("readMoreButton"); }))
            return false;
        say(key, text("navigationTitle"), text("storyPubLabel"));
        click(visible<QPushButton>("readMoreButton"));
        click(visible<QPushButton>("navigationLeftButton"));
        return step("back to the news", nullptr, [this] { return !visible<QPushButton>("readMoreButton"); });
    }

    bool reservation()
    {
        click(visible<QAbstractButton>("tab0"));
        click(visible<QPushButton>("reserveButton"));
        if (!step("the form", nullptr, [this] { return visible<QLineEdit>("firstNameTextField"); }))
            return false;
        type("firstNameTextField", QStringLiteral("Åsa"));
        type("lastNameTextField", QStringLiteral("Öberg"));
        type("personalIDTextField", QStringLiteral("198001011234"));
        type("phoneTextField", QStringLiteral("0701234567"));
        say("form", text("infoLabel"), visible<QPushButton>("storeButton")->text(), visible<QPushButton>("dateButton")->text());
        shot("09-form");
        click(visible<QPushButton>("reserveBarButton"));
        if (!step("payment", "10-payment", [this] { return visible<QPushButton>("actionSheetButton1"); }))
            return false;
        click(visible<QPushButton>("actionSheetButton1")); // cash in the home currency
        if (!step("verdict", "11-verdict", [this] { return visible<QWidget>("alertView"); }))
            return false;
        say("verdict", text("alertTitle"), text("alertMessage"));
        click(visible<QPushButton>("alertButton0"));
        return step("form closed", nullptr, [this] { return !visible<QWidget>("alertView") && !visible<QWidget>("reserveView"); });
    }

    bool denmark()
    {
        click(visible<QAbstractButton>("tab1"));
        const QString swedishStore = rowText(0, "nameLabel");
        click(visible<QAbstractButton>("tab3"));
        shot("12-settings");
        click(visible<QAbstractButton>("languageSegment1"));
        say("settings", visible<QPushButton>("defaultStoreButton")->text().trimmed());
        shot("13-settings-danish");
        click(visible<QAbstractButton>("tab0"));
        if (!step("Danish rates", "14-rates-danish", [this] { return text("baseDestinationLabel").endsWith(QLatin1String("DKK")); }))
            return false;
        say("dk-rates", visible<QPushButton>("pickCurrencyButton")->text(), text("lastUpdateLabel"), conversion());
        click(visible<QAbstractButton>("tab1"));
        if (!step("Danish stores", "15-stores-danish", [this, swedishStore] {
                const QString first = rowText(0, "nameLabel");
                return !first.isEmpty() && first != swedishStore && !visible<QWidget>("loadingSplash");
            }))
            return false;
        say("dk-stores", rowText(0, "nameLabel"));
        click(visible<QAbstractButton>("tab2"));
        return readFirstStory("dk-story", "16-news-danish", "17-story-danish");
    }

    QString conversion() const
    {
        QStringList texts;
        for (const char *name : {"swiftSourceLabel", "swiftTransactionLabel", "baseDestinationLabel", "baseSourceLabel",
                                 "baseTransactionLabel", "swiftDestinationLabel"})
            texts << text(name);
        return texts.join(u'\t');
    }

    // The store list's rows as shown, top first.
    QList<QWidget *> storeRows() const
    {
        QList<QWidget *> rows = m_window->findChildren<QWidget *>(QStringLiteral("storeCell"));
        rows.removeIf([](QWidget *row) { return !row->isVisible(); });
        std::sort(rows.begin(), rows.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
        return rows;
    }
    QString rowText(int row, const char *label) const
    {
        const QList<QWidget *> rows = storeRows();
        return row < rows.size() ? rows[row]->findChild<QLabel *>(QString::fromLatin1(label))->text() : QString();
    }

    template <typename T> T *visible(const char *name) const
    {
        const QList<T *> found = m_window->findChildren<T *>(QString::fromLatin1(name));
        const auto shown = std::find_if(found.begin(), found.end(), [](T *widget) { return widget->isVisible(); });
        return shown == found.end() ? nullptr : *shown;
    }
    QString text(const char *label) const
    {
        const QLabel *found = visible<QLabel>(label);
        return found ? found->text() : QString();
    }
    static void click(QWidget *widget)
    {
        if (widget)
            QTest::mouseClick(widget, Qt::LeftButton);
    }
    void type(const char *field, const QString &text)
    {
        click(visible<QLineEdit>(field));
        QTest::keyClicks(visible<QLineEdit>(field), text);
    }

    // Waits, with a generous bound for a busy machine, until the condition
    // holds and no animation runs, then saves the screen when a name is given.
    bool step(const char *what, const char *screenshot, const std::function<bool()> &condition)
    {
        const bool reached = xr::test::waitUntil(condition, 90000) && xr::test::waitForAnimations(m_window);
        shot(reached ? screenshot : "stuck");
        if (!reached)
            say("stuck", QString::fromLatin1(what));
        return reached;
    }
    void shot(const char *name) const
    {
        if (name)
            xr::test::saveScreenshot(m_window, QStringLiteral("walk-") + QLatin1String(name));
    }
    template <typename... Fields> void say(const char *key, const Fields &...fields)
    {
        const QString line = (QStringList{QString::fromLatin1(key)} << ... << fields).join(u'\t');
        m_log.write(QString(line).replace(u'\n', u' ').toUtf8() + '\n');
        m_log.flush();
    }

    QWidget *m_window;
    QFile m_log;
    QString m_storyTitle; // the last story read, so that a reloaded list is told from the old one
};

void startWalking()
{
    // The first turn of the application's event loop: the launch has shown the window.
    QTimer::singleShot(0, [] {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        const QWidgetList windows = QApplication::topLevelWidgets();
        const auto window = std::find_if(windows.begin(), windows.end(),
                                         [](QWidget *w) { return w->objectName() == QLatin1String("window"); });
        if (window == windows.end())
            return;
        CustomerWalker(*window).walk();
        QCoreApplication::exit(0);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startWalking)

#include "CustomerWalker.moc"
