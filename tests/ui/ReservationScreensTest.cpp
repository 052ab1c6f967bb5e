// The settings tab and the reservation form against the demo retailer, in process.
#if __has_include("DemoService.h")

#include "DemoApplication.h"
#include "EventLoop.h"
#include "LoopbackServer.h"
#include "ReservationBook.h"
#include "Screenshots.h"
#include "XRActionSheet.h"
#include "XRCurrencyViewController.h"
#include "XRLoadingSplashView.h"
#include "XRNavigationController.h"
#include "XRPickerButtonPanel.h"
#include "XRPickerPanel.h"
#include "XRPrefsViewController.h"
#include "XRReserverViewController.h"

#include <QCalendarWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using xr::test::waitUntil;

const QStringList typed{QStringLiteral("Åsa"), QStringLiteral("Öberg"), QStringLiteral("198001011234"),
                        QStringLiteral("0701234567")};

QString text(const QVariant &record, const char *key)
{
    return record.toMap().value(QString::fromLatin1(key)).toString();
}

// The real window, shell and delegate with the currency and settings tabs, in
// the market and language of the test's parameter ("sv" or "fi").
class ReservationScreensTest : public testing::Test,
                               public testing::WithParamInterface<const char *>,
                               public xr::test::DemoApplication
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(startService(error)) << error.toStdString();
    }
    // Launches and waits for the rates and the store list.
    void launch(const QString &language = QString::fromLatin1(GetParam()))
    {
        finland = language == QLatin1String("fi");
        firstLaunch(finland ? 3 : 0, language, [this](XRWindow *window) {
            auto *bar = new XRTabBarController(window);
            bar->setViewControllers({currencyScreen = new XRCurrencyViewController, prefsScreen = new XRPrefsViewController});
            return bar;
        });
        ASSERT_TRUE(waitUntil([this] { return !currencyScreen->isLoading() && delegate->storesArray(); }));
    }
    // The currency screen's path to the form: 100 US dollars, then its reserve button.
    void openForm()
    {
        QTest::mouseClick(find<QPushButton>("pickCurrencyButton"), Qt::LeftButton);
        XRPickerView *picker = currencyScreen->pickerPanel()->pickerView();
        int usd = 0;
        while (!picker->titleForRow(usd).endsWith(QLatin1String("USD")))
            ++usd;
        picker->chooseRow(usd);
        QTest::mouseClick(currencyScreen->pickerPanel()->pickerButtonPanel()->doneButton(), Qt::LeftButton);
        QTest::keyClicks(find<QLineEdit>("amountTF"), QStringLiteral("100"));
        QTest::mouseClick(find<QPushButton>("reserveButton"), Qt::LeftButton);
        auto *navigation = qobject_cast<XRNavigationController *>(currencyScreen->modalViewController());
        ASSERT_TRUE(navigation);
        form = qobject_cast<XRReserverViewController *>(navigation->topViewController());
        waitForAnimations(navigation->view());
    }

    template <typename T = QPushButton> T *find(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    QLineEdit *field(int i) const
    {
        const char *names[] = {"firstNameTextField", "lastNameTextField", "personalIDTextField", "phoneTextField"};
        return find<QLineEdit>(names[i]);
    }
    QStringList fieldTexts() const { return {field(0)->text(), field(1)->text(), field(2)->text(), field(3)->text()}; }
    void fill()
    {
        for (int i = 0; i < 4; ++i)
            field(i)->setText(field(i)->isEnabled() ? typed[i] : QString());
    }
    void pressReserve() { QTest::mouseClick(find("reserveBarButton"), Qt::LeftButton); }
    static XRAlertView *shownAlert() { return XRAlertView::visibleAlerts().value(0, nullptr); }
    static XRActionSheet *sheet() { return XRActionSheet::visibleSheets().value(0, nullptr); }
    // Waits for the alert, saves a screenshot when named, presses OK and returns title and message.
    static QStringList answerAlert(const QString &screenshot = {})
    {
        if (!waitUntil([] { return shownAlert() != nullptr; }))
            return {};
        const QStringList texts{shownAlert()->title(), shownAlert()->message()};
        if (!screenshot.isEmpty())
            xr::test::saveScreenshot(XRWindow::mainWindow(), screenshot);
        QTest::mouseClick(shownAlert()->button(0), Qt::LeftButton);
        return texts;
    }
    static void clickRow(XRTableView *table, int row)
    {
        table->scrollToRowAtIndexPath({0, row});
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
                          table->rectForRowAtIndexPath({0, row}).translated(0, -table->verticalScrollBar()->value()).center());
    }
    static void waitForAnimations(QWidget *widget) { ASSERT_TRUE(xr::test::waitForAnimations(widget)); }

    XRCurrencyViewController *currencyScreen = nullptr;
    XRPrefsViewController *prefsScreen = nullptr;
    XRReserverViewController *form = nullptr;
    bool finland = false;
};

// A default store chosen in settings, checked in its list and preset on the
// form; then a reservation with a Saturday chosen and the home currency.
TEST_P(ReservationScreensTest, ADefaultStoreIsPresetAndAReservationIsBookedOnceForTheMondayAfterASaturday)
{
    launch();
    const QString language = QString::fromLatin1(GetParam());
    tabs->setSelectedIndex(1);
    QPushButton *button = find("defaultStoreButton");
    // Stores by city; two of one city both show the city, told apart by their names.
    const QVariantList stores = *delegate->sortedStoresArray();
    int twin = 1;
    while (twin < stores.size() && text(stores[twin], "city") != text(stores[twin - 1], "city"))
        ++twin;
    ASSERT_LT(twin, stores.size());
    const QString twinShown = text(stores[twin], "name") + QLatin1Char('\n') + text(stores[twin], "city");
    QTest::mouseClick(button, Qt::LeftButton);
    XRTableView *table = prefsScreen->alert()->tableView();
    ASSERT_EQ(table->numberOfRowsInSection(0), stores.size());
    clickRow(table, twin);
    EXPECT_EQ(button->text(), twinShown);
    xr::test::saveScreenshot(window.get(), QStringLiteral("prefs-") + language);
    QTest::mouseClick(button, Qt::LeftButton);
    table->scrollToRowAtIndexPath({0, twin});
    for (int row : {twin - 1, twin}) {
        XRTableViewCell *cell = table->cellForRowAtIndexPath({0, row});
        EXPECT_EQ(cell->textLabel()->text(), text(stores[twin], "city"));
        EXPECT_EQ(cell->detailTextLabel()->text(), text(stores[row], "name"));
        EXPECT_EQ(cell->accessoryType() == XRTableViewCell::AccessoryCheckmark, row == twin);
    }
    xr::test::saveScreenshot(window.get(), QStringLiteral("prefs-chooser-") + language);
    QTest::mouseClick(shownAlert()->button(0), Qt::LeftButton);

    tabs->setSelectedIndex(0);
    openForm();
    EXPECT_EQ(find("storeButton")->text(), twinShown);
    EXPECT_EQ(field(2)->isEnabled(), !finland);
    pressReserve();
    EXPECT_EQ(answerAlert(QStringLiteral("reserve-missing-fields-") + language),
              (QStringList{XRLocalizedString("Missing fields"),
                           XRLocalizedString("One or many of the requried fields are missing or invalid.")}));
    // Each change is checked as it is typed.
    QTest::keyClicks(field(3), QStringLiteral("070-"));
    EXPECT_EQ(field(3)->palette().color(QPalette::Text), XRReserverViewController::invalidTextColor);
    fill();
    EXPECT_EQ(field(3)->palette().color(QPalette::Text), QColor(Qt::black));
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-form-") + language);

    // The panel starts on the earliest date; its dimmed strip cancels; Done moves a Saturday to Monday.
    XRDatePickerView *panel = form->datePicker();
    const QDate earliest = panel->datePicker()->minimumDate();
    EXPECT_EQ(find("dateButton")->text(), earliest.toString(Qt::ISODate));
    QTest::mouseClick(find("dateButton"), Qt::LeftButton);
    waitForAnimations(panel);
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-date-panel-") + language);
    const QDate saturday = earliest.addDays((13 - earliest.dayOfWeek()) % 7);
    panel->datePicker()->setSelectedDate(saturday);
    QTest::mouseClick(panel->bgView(), Qt::LeftButton);
    waitForAnimations(panel);
    EXPECT_EQ(find("dateButton")->text(), earliest.toString(Qt::ISODate));
    QTest::mouseClick(find("dateButton"), Qt::LeftButton);
    QTest::mouseClick(find("datePickerDone"), Qt::LeftButton);
    waitForAnimations(panel);
    EXPECT_EQ(find("dateButton")->text(), saturday.addDays(2).toString(Qt::ISODate));

    pressReserve();
    const QString cash = XRLocalizedString("Cash (%@)");
    EXPECT_EQ(sheet()->buttonTitles().mid(1, 2),
              (QStringList{QString(cash).replace(QLatin1String("%@"), currencyScreen->baseSwiftCode()),
                           QString(cash).replace(QLatin1String("%@"), XRLocalizedString("other currency"))}));
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-payment-sheet-") + language);
    QTest::mouseClick(sheet()->button(1), Qt::LeftButton);
    EXPECT_EQ(shell->loadingSplash()->loadingMessage()->text(), XRLocalizedString("Reserving"));
    // A second Reserve, and Cancel, wait for the verdict of the first.
    pressReserve();
    QTest::mouseClick(find("cancelBarButton"), Qt::LeftButton);
    EXPECT_EQ(sheet(), nullptr);
    EXPECT_EQ(answerAlert(QStringLiteral("reserve-completed-") + language).value(0), XRLocalizedString("Reservation Completed"));

    const QList<xr::demo::AcceptedReservation> booked = service->reservations().all();
    ASSERT_EQ(booked.size(), 1);
    EXPECT_EQ(QString::number(booked[0].branch), text(stores[twin], "id").section(QLatin1Char('.'), -1));
    EXPECT_EQ(booked[0].fetchAt, saturday.addDays(2).toString(Qt::ISODate));
    EXPECT_EQ(booked[0].personalNumber, finland ? QStringLiteral("000000000000") : typed[2]);
    EXPECT_EQ(booked[0].paymentMethod, 1);
}

INSTANTIATE_TEST_SUITE_P(Languages, ReservationScreensTest, testing::Values("sv", "fi"),
                         [](const testing::TestParamInfo<const char *> &info) { return std::string(info.param); });

TEST_F(ReservationScreensTest, RefusalsAndTransportFailuresShowTheErrorAndKeepTheForm)
{
    xr::test::LoopbackServer desk(xr::test::LoopbackServer::Security::Tls);
    QTemporaryFile authority;
    ASSERT_TRUE(authority.open() && authority.write(xr::test::LoopbackServer::certificateAuthorityPem()) > 0);
    authority.flush();
    configuration.reservationHost = QStringLiteral("127.0.0.1:%1").arg(desk.port());
    configuration.reservationCAFile = authority.fileName();
    launch(QStringLiteral("sv"));
    openForm();
    QTest::mouseClick(find("storeButton"), Qt::LeftButton);
    clickRow(form->alert()->tableView(), 4);
    const QString branch = text(delegate->sortedStoresArray()->value(4), "id").section(QLatin1Char('.'), -1);
    fill();

    const QString error = XRLocalizedString("There was an error in the reservation process, please contact the store or try again later.");
    const struct
    {
        xr::test::Response reply;
        QString message;
    } cases[] = {
        {{.body = "<Reply><Code>17</Code><Message>Slut på dollar</Message><Market>SE</Market></Reply>"},
         error + QStringLiteral(" [Slut på dollar]")},
        {{.body = QByteArray(4000, 'x'), .fault = xr::test::Response::Fault::DropMidBody}, error},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message.toStdString());
        desk.route(QStringLiteral("/XmlReservation.aspx"), c.reply);
        pressReserve();
        QTest::mouseClick(sheet()->button(2), Qt::LeftButton);
        EXPECT_EQ(answerAlert(&c == cases ? QStringLiteral("reserve-error-sv") : QString()),
                  (QStringList{XRLocalizedString("Reservation Error"), c.message}));
        EXPECT_EQ(currencyScreen->modalViewController(), form->navigationController());
        EXPECT_EQ(fieldTexts(), typed);
        EXPECT_FALSE(delegate->isLoadingSplashShown());
    }
    ASSERT_EQ(desk.requests().size(), 2);
    const QByteArray sent = QByteArray::fromPercentEncoding(desk.requests().first().body);
    EXPECT_TRUE(sent.contains("<Branch>" + branch.toLatin1() + "</Branch>") && sent.contains("<PaymentMethod>2</PaymentMethod>")) << sent.toStdString();
}

} // namespace

#endif
