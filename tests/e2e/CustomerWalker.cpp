// A customer's walk through the real `vaxlo`, loaded into it with LD_PRELOAD by
// the end-to-end test. Once the window is up it presses the screens' own
// buttons, saves a screenshot at each step, writes what the screens show as
// tab-separated lines to $XR_WALK_LOG, and quits. It knows the application only
// through Qt: widgets by object name and the texts they show.

#include "EventLoop.h"
#include "Screenshots.h"

#include <QAbstractAnimation>
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
    CustomerWalker()
        : m_log(qEnvironmentVariable("XR_WALK_LOG"))
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

    Q_INVOKABLE void record(const QUrl &url) { say({QStringLiteral("opened"), url.toString()}); }

    bool walk()
    {
        m_window = windowNamed(QStringLiteral("window"));
        return m_window && converter() && stores() && news() && reservation() && denmark();
    }

private:
    bool converter()
    {
        auto *pick = find<QPushButton>("pickCurrencyButton");
        if (!waitFor("rates", [pick] { return pick->isEnabled(); }))
            return false;
        shot("01-rates");
        say({QStringLiteral("rates"), pick->text(), text("lastUpdateLabel")});

        click(pick);
        QListWidget *wheel = nullptr;
        if (!waitFor("wheel", [this, &wheel] { return (wheel = visible<QListWidget>("pickerRows")) && settled(); }))
            return false;
        const QList<QListWidgetItem *> dollars = wheel->findItems(QStringLiteral("USD"), Qt::MatchEndsWith);
        if (dollars.isEmpty())
            return waitFor("a dollar row", [] { return false; });
        wheel->scrollToItem(dollars.first());
        QTest::mouseClick(wheel->viewport(), Qt::LeftButton, {}, wheel->visualItemRect(dollars.first()).center());
        shot("02-wheel");
        click(visible<QPushButton>("doneButton"));
        if (!waitFor("wheel closed", [this] { return !visible<QListWidget>("pickerRows") && settled(); }))
            return false;
        say({QStringLiteral("picked"), pick->text()});

        click(find<QLineEdit>("amountTF"));
        QTest::keyClicks(find<QLineEdit>("amountTF"), QStringLiteral("100"));
        say(QStringList{QStringLiteral("buy")} + conversion());
        shot("03-buy");
        click(find<QPushButton>("sellSegment"));
        say(QStringList{QStringLiteral("sell")} + conversion());
        shot("04-sell");
        return true;
    }

    bool stores()
    {
        click(find<QAbstractButton>("tab1"));
        // The replayed walk reports a position a second; the list orders itself at each.
        if (!waitFor("distances", [this] { return !storeRows().isEmpty() && !rowText(0, "distanceLabel").isEmpty(); }))
            return false;
        QStringList rows{QStringLiteral("stores")};
        for (int i = 0; i < std::min<int>(3, storeRows().size()); ++i)
            rows << rowText(i, "nameLabel") + QLatin1Char('|') + rowText(i, "distanceLabel");
        say(rows);
        shot("05-stores");
        click(storeRows().first()->findChild<QPushButton *>(QStringLiteral("defaultButton")));
        say({QStringLiteral("default"), rowText(0, "nameLabel")});

        QWidget *firstRow = storeRows().first();
        QWidget *table = firstRow->parentWidget();
        QTest::mouseClick(table, Qt::LeftButton, {}, firstRow->geometry().topLeft() + QPoint(100, 30));
        QWidget *pin = nullptr;
        if (!waitFor("map", [this, &pin] { return (pin = visible<QWidget>("annotationView")) && settled(); }))
            return false;
        QTest::mouseClick(pin, Qt::LeftButton, {}, QPoint(25, 15));
        if (!waitFor("callout", [this] { return visible<QWidget>("callout") && settled(); }))
            return false;
        shot("06-map");
        say({QStringLiteral("callout"), text("calloutTitle")});
        click(visible<QPushButton>("detailDisclosureButton"));
        click(visible<QPushButton>("doneButton"));
        return waitFor("back to the list", [this] { return !visible<QWidget>("mapScreen") && settled(); });
    }

    bool news()
    {
        click(find<QAbstractButton>("tab2"));
        return readFirstStory("story", "07-news", "08-story");
    }

    // Opens the news list's first story, notes it and its link, and goes back.
    bool readFirstStory(const char *key, const char *listShot, const char *storyShot)
    {
        QLabel *title = nullptr;
        const auto firstTitle = [this, &title] {
            const auto labels = m_window->findChildren<QLabel *>(QStringLiteral("textLabel"));
            title = nullptr;
            for (QLabel *label : labels) {
                if (label->isVisible() && label->parentWidget()->y() == 0 && !visible<QWidget>("loadingSplash"))
                    title = label;
            }
            return title && !title->text().isEmpty() && title->text() != m_storyTitle;
        };
        if (!waitFor(key, firstTitle))
            return false;
        shot(listShot);
        m_storyTitle = title->text();
        QWidget *row = title->parentWidget();
        QTest::mouseClick(row->parentWidget(), Qt::LeftButton, {}, row->geometry().center());
        QPushButton *more = nullptr;
        if (!waitFor("the story", [this, &more] { return (more = visible<QPushButton>("readMoreButton")) && settled(); }))
            return false;
        shot(storyShot);
        say({QString::fromLatin1(key), text("navigationTitle"), text("storyPubLabel")});
        click(more);
        click(visible<QPushButton>("navigationLeftButton"));
        return waitFor("back to the news", [this] { return !visible<QPushButton>("readMoreButton") && settled(); });
    }

    bool reservation()
    {
        click(find<QAbstractButton>("tab0"));
        click(find<QPushButton>("reserveButton"));
        auto *first = find<QLineEdit>("firstNameTextField");
        if (!waitFor("the form", [this, first] { return first && first->isVisible() && settled(); }))
            return false;
        const char *fields[] = {"firstNameTextField", "lastNameTextField", "personalIDTextField", "phoneTextField"};
        const char *typed[] = {"Åsa", "Öberg", "198001011234", "0701234567"};
        for (int i = 0; i < 4; ++i) {
            click(find<QLineEdit>(fields[i]));
            QTest::keyClicks(find<QLineEdit>(fields[i]), QString::fromUtf8(typed[i]));
        }
        say({QStringLiteral("form"), text("infoLabel"), find<QPushButton>("storeButton")->text(),
             find<QPushButton>("dateButton")->text()});
        shot("09-form");
        click(find<QPushButton>("reserveBarButton"));
        if (!waitFor("payment", [this] { return visible<QPushButton>("actionSheetButton1") && settled(); }))
            return false;
        shot("10-payment");
        click(visible<QPushButton>("actionSheetButton1"));
        if (!waitFor("verdict", [this] { return visible<QWidget>("alertView") && settled(); }))
            return false;
        shot("11-verdict");
        say({QStringLiteral("verdict"), text("alertTitle"), text("alertMessage")});
        click(visible<QPushButton>("alertButton0"));
        return waitFor("form closed", [this] { return !visible<QWidget>("alertView") && !visible<QWidget>("reserveView") && settled(); });
    }

    bool denmark()
    {
        click(find<QAbstractButton>("tab1"));
        const QString swedishStore = rowText(0, "nameLabel");
        click(find<QAbstractButton>("tab3"));
        shot("12-settings");
        click(find<QAbstractButton>("languageSegment1"));
        say({QStringLiteral("settings"), find<QPushButton>("defaultStoreButton")->text().trimmed()});
        shot("13-settings-danish");

        click(find<QAbstractButton>("tab0"));
        if (!waitFor("Danish rates", [this] { return text("baseDestinationLabel").endsWith(QLatin1String("DKK")); }))
            return false;
        say(QStringList{QStringLiteral("dk-rates"), find<QPushButton>("pickCurrencyButton")->text(),
                        text("lastUpdateLabel")} + conversion());
        shot("14-rates-danish");

        click(find<QAbstractButton>("tab1"));
        if (!waitFor("Danish stores", [this, swedishStore] {
                return !storeRows().isEmpty() && rowText(0, "nameLabel") != swedishStore && !visible<QWidget>("loadingSplash");
            }))
            return false;
        say({QStringLiteral("dk-stores"), rowText(0, "nameLabel")});
        shot("15-stores-danish");

        click(find<QAbstractButton>("tab2"));
        return readFirstStory("dk-story", "16-news-danish", "17-story-danish");
    }

    // The six labels of the converter.
    QStringList conversion() const
    {
        QStringList texts;
        for (const char *name : {"swiftSourceLabel", "swiftTransactionLabel", "baseDestinationLabel", "baseSourceLabel",
                                 "baseTransactionLabel", "swiftDestinationLabel"})
            texts << text(name);
        return texts;
    }

    // The store list's rows as shown, top first.
    QList<QWidget *> storeRows() const
    {
        QList<QWidget *> rows;
        for (QWidget *row : m_window->findChildren<QWidget *>(QStringLiteral("storeCell"))) {
            if (row->isVisible())
                rows << row;
        }
        std::sort(rows.begin(), rows.end(), [](QWidget *a, QWidget *b) { return a->y() < b->y(); });
        return rows;
    }
    QString rowText(int row, const char *label) const
    {
        const QList<QWidget *> rows = storeRows();
        return row < rows.size() ? rows[row]->findChild<QLabel *>(QString::fromLatin1(label))->text() : QString();
    }

    static QWidget *windowNamed(const QString &name)
    {
        const QWidgetList windows = QApplication::topLevelWidgets();
        const auto found = std::find_if(windows.begin(), windows.end(), [&](QWidget *w) { return w->objectName() == name; });
        return found == windows.end() ? nullptr : *found;
    }
    template <typename T> T *find(const char *name) const { return m_window->findChild<T *>(QString::fromLatin1(name)); }
    template <typename T> T *visible(const char *name) const
    {
        for (T *widget : m_window->findChildren<T *>(QString::fromLatin1(name))) {
            if (widget->isVisible())
                return widget;
        }
        return nullptr;
    }
    QString text(const char *label) const
    {
        const QLabel *found = visible<QLabel>(label);
        return found ? found->text() : QString();
    }
    bool settled() const
    {
        const auto animations = m_window->findChildren<QAbstractAnimation *>();
        return std::none_of(animations.begin(), animations.end(),
                            [](const QAbstractAnimation *a) { return a->state() == QAbstractAnimation::Running; });
    }
    static void click(QWidget *widget)
    {
        if (widget)
            QTest::mouseClick(widget, Qt::LeftButton);
    }

    // Generous: the walk must hold on a busy machine too.
    bool waitFor(const char *what, const std::function<bool()> &condition)
    {
        if (xr::test::waitUntil(condition, 90000))
            return true;
        shot("stuck");
        say({QStringLiteral("stuck"), QString::fromLatin1(what)});
        return false;
    }
    void shot(const char *name) const { xr::test::saveScreenshot(m_window, QStringLiteral("walk-") + QLatin1String(name)); }
    void say(const QStringList &fields)
    {
        m_log.write(fields.join(QLatin1Char('\t')).replace(QLatin1Char('\n'), QLatin1Char(' ')).toUtf8() + '\n');
        m_log.flush();
    }

    QFile m_log;
    QWidget *m_window = nullptr;
    QString m_storyTitle; // the last story read, so that a reloaded list is told from the old one

public:
    void finish(bool walked) { say({walked ? QStringLiteral("done") : QStringLiteral("failed")}); }
};

void startWalking()
{
    // The first turn of the application's event loop: the launch has shown the window.
    QTimer::singleShot(0, [] {
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return;
        auto *walker = new CustomerWalker;
        walker->setParent(QCoreApplication::instance());
        walker->finish(walker->walk());
        QCoreApplication::exit(0);
    });
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(startWalking)

#include "CustomerWalker.moc"
