#if __has_include("DemoService.h")

#include "DemoApplication.h"
#include "LoopbackServer.h"
#include "Screenshots.h"
#include "XRActionSheet.h"
#include "XRCollectionDate.h"
#include "XRLoadingSplashView.h"
#include "XRNavigationController.h"
#include "XRPickerButtonPanel.h"
#include "XRPickerPanel.h"
#include "XRPickerView.h"
#include "XRReserverViewController.h"

#include <QAbstractAnimation>
#include <QCalendarWidget>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPushButton>
#include <QSslConfiguration>
#include <QTemporaryFile>

namespace {

using xr::test::LoopbackServer;
using xr::test::waitUntil;

const QStringList typed{QStringLiteral("Åsa"), QStringLiteral("Öberg"), QStringLiteral("198001011234"),
                        QStringLiteral("0701234567")};

class ReservationFormTest : public xr::test::DemoApplicationTest
{
protected:
    // The currency screen's path: 100 US dollars, then its reserve button.
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
        ASSERT_TRUE(form);
        waitForAnimations(navigation->view());
    }
    QLineEdit *field(const char *name) const { return form->view()->findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QPushButton *button(const char *name) const { return form->view()->findChild<QPushButton *>(QString::fromLatin1(name)); }
    QStringList fieldTexts() const
    {
        return {field("firstNameTextField")->text(), field("lastNameTextField")->text(),
                field("personalIDTextField")->text(), field("phoneTextField")->text()};
    }
    void fill(const QStringList &texts)
    {
        const char *names[] = {"firstNameTextField", "lastNameTextField", "personalIDTextField", "phoneTextField"};
        for (int i = 0; i < 4; ++i) {
            if (field(names[i])->isEnabled())
                field(names[i])->setText(texts[i]);
        }
    }
    void chooseStore(const QString &id)
    {
        QTest::mouseClick(button("storeButton"), Qt::LeftButton);
        clickRow(form->alert()->tableView(), chooserRowOf(id));
    }
    void pressReserve() { QTest::mouseClick(find<QPushButton>("reserveBarButton"), Qt::LeftButton); }
    static XRActionSheet *sheet()
    {
        return XRActionSheet::visibleSheets().isEmpty() ? nullptr : XRActionSheet::visibleSheets().first();
    }
    // Presses the alert's OK and returns its title and message.
    static QStringList answerAlert()
    {
        EXPECT_TRUE(waitUntil([] { return shownAlert() != nullptr; }));
        XRAlertView *alert = shownAlert();
        if (!alert)
            return {};
        const QStringList texts{alert->title(), alert->message()};
        QTest::mouseClick(alert->button(0), Qt::LeftButton);
        return texts;
    }
    static void waitForAnimations(QWidget *widget)
    {
        ASSERT_TRUE(waitUntil([widget] {
            for (auto *animation : widget->findChildren<QAbstractAnimation *>()) {
                if (animation->state() == QAbstractAnimation::Running)
                    return false;
            }
            return true;
        }));
    }
    QJsonArray listedReservations()
    {
        QNetworkAccessManager manager;
        QNetworkRequest request(QUrl(QStringLiteral("https://%1/reservations").arg(configuration.reservationHost)));
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.addCaCertificates(configuration.reservationCAFile);
        request.setSslConfiguration(tls);
        QNetworkReply *reply = manager.get(request);
        EXPECT_TRUE(waitUntil([reply] { return reply->isFinished(); }));
        const QJsonArray list = QJsonDocument::fromJson(reply->readAll()).array();
        delete reply;
        return list;
    }

    XRReserverViewController *form = nullptr;
};

TEST_F(ReservationFormTest, AReservationMadeOnTheScreensIsBookedOnceListedAndClosesTheForm)
{
    launch(0, QStringLiteral("sv"));
    openForm();
    EXPECT_EQ(find<QLabel>("infoLabel")->text(),
              QStringLiteral("100 USD (%1 SEK)").arg(currencyScreen->sellCashAmmount()));
    EXPECT_EQ(button("storeButton")->text(), XRLocalizedString("Choose store"));
    fill(typed);
    chooseStore(QStringLiteral("SE.FX.101"));
    EXPECT_EQ(form->branchID(), QStringLiteral("101"));
    EXPECT_EQ(button("storeButton")->text().count(QLatin1Char('\n')), 1);
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-form-sv"));

    pressReserve();
    ASSERT_TRUE(sheet());
    EXPECT_EQ(sheet()->buttonTitles(),
              (QStringList{XRLocalizedString("Credit Card"), QStringLiteral("Kontant (SEK)"),
                           QStringLiteral("Kontant (annan valuta)"), XRLocalizedString("Cancel")}));
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-payment-sheet-sv"));
    const QString date = form->date();
    QTest::mouseClick(sheet()->button(1), Qt::LeftButton);
    ASSERT_TRUE(shell->loadingSplash());
    EXPECT_EQ(shell->loadingSplash()->loadingMessage()->text(), XRLocalizedString("Reserving"));
    // A second Reserve, and Cancel, wait for the verdict of the first.
    pressReserve();
    QTest::mouseClick(find<QPushButton>("cancelBarButton"), Qt::LeftButton);
    EXPECT_EQ(sheet(), nullptr);
    EXPECT_EQ(shownAlert(), nullptr);

    ASSERT_TRUE(waitUntil([] { return shownAlert() != nullptr; }));
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-completed-sv"));
    EXPECT_EQ(answerAlert(), (QStringList{XRLocalizedString("Reservation Completed"),
                                          XRLocalizedString("The reservation is now completed")}));
    EXPECT_EQ(currencyScreen->modalViewController(), nullptr);
    EXPECT_FALSE(delegate->isLoadingSplashShown());

    const QJsonArray listed = listedReservations();
    ASSERT_EQ(listed.size(), 1);
    const QJsonObject booked = listed.first().toObject();
    EXPECT_EQ(booked[QStringLiteral("branch")].toInt(), 101);
    EXPECT_EQ(booked[QStringLiteral("firstName")].toString(), typed[0]);
    EXPECT_EQ(booked[QStringLiteral("currency")].toString(), QStringLiteral("USD"));
    EXPECT_EQ(booked[QStringLiteral("fetchAt")].toString(), date);
    EXPECT_EQ(booked[QStringLiteral("paymentMethod")].toInt(), 1);
}

TEST_F(ReservationFormTest, MissingOrInvalidFieldsAndACancelledPaymentSendNothingAndKeepEveryValue)
{
    launch(0, QStringLiteral("sv"));
    openForm();
    const struct
    {
        const char *personalID;
        const char *phone;
        bool store;
    } cases[] = {{"1980010112", "0701234567", false},   {"123456789", "0701234567", true},
                 {"1234567890123", "0701234567", true}, {"800101-1234", "0701234567", true},
                 {"1980010112", "070 123 45", true},    {"1980010112", "+46701234567", true},
                 {"1980010112", "", true}};
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.personalID) + " " + c.phone);
        const QStringList texts{typed[0], typed[1], QString::fromLatin1(c.personalID), QString::fromLatin1(c.phone)};
        fill(texts);
        if (c.store && form->branchID().isEmpty()) // once chosen, the store stays
            chooseStore(QStringLiteral("SE.FX.102"));
        pressReserve();
        EXPECT_EQ(sheet(), nullptr);
        if (&c == &cases[0])
            xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-missing-fields-sv"));
        EXPECT_EQ(answerAlert(), (QStringList{XRLocalizedString("Missing fields"),
                                              XRLocalizedString("One or many of the requried fields are missing or invalid.")}));
        EXPECT_EQ(fieldTexts(), texts);
    }
    // Every change is checked as it is typed.
    field("personalIDTextField")->clear();
    QTest::keyClicks(field("personalIDTextField"), QStringLiteral("1980010112-"));
    EXPECT_EQ(field("personalIDTextField")->palette().color(QPalette::Text), XRReserverViewController::invalidTextColor);
    QTest::keyClick(field("personalIDTextField"), Qt::Key_Backspace);
    EXPECT_EQ(field("personalIDTextField")->palette().color(QPalette::Text), QColor(Qt::black));

    fill(typed);
    pressReserve();
    ASSERT_TRUE(sheet());
    QTest::mouseClick(sheet()->button(sheet()->cancelButtonIndex()), Qt::LeftButton);
    EXPECT_FALSE(delegate->isLoadingSplashShown());
    EXPECT_FALSE(form->isReserving());
    EXPECT_EQ(fieldTexts(), typed);
    EXPECT_TRUE(requestsTo(QStringLiteral("reservations")).isEmpty());
}

TEST_F(ReservationFormTest, TheFinnishMarketBooksWithoutAPersonalIdentityNumber)
{
    launch(3, QStringLiteral("fi"));
    openForm();
    EXPECT_FALSE(field("personalIDTextField")->isEnabled());
    EXPECT_EQ(field("personalIDTextField")->placeholderText(), XRLocalizedString("PersonalIDOptional"));
    pressReserve();
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-missing-fields-fi"));
    answerAlert();

    fill(typed);
    chooseStore(delegate->sortedStoresArray()->first().toMap()[QStringLiteral("id")].toString());
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-form-fi"));
    QTest::mouseClick(button("dateButton"), Qt::LeftButton);
    waitForAnimations(form->datePicker());
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-date-panel-fi"));
    QTest::mouseClick(form->datePicker()->findChild<QPushButton *>(QStringLiteral("datePickerCancel")), Qt::LeftButton);
    waitForAnimations(form->datePicker());

    pressReserve();
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-payment-sheet-fi"));
    QTest::mouseClick(sheet()->button(0), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([] { return shownAlert() != nullptr; }));
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-completed-fi"));
    EXPECT_EQ(answerAlert().value(0), XRLocalizedString("Reservation Completed"));
    ASSERT_EQ(service->reservations().all().size(), 1);
    EXPECT_EQ(service->reservations().all().first().personalNumber, QStringLiteral("000000000000"));
    EXPECT_EQ(service->reservations().all().first().market, QStringLiteral("FI"));
}

TEST_F(ReservationFormTest, RefusalsUnreadableRepliesAndTransportFailuresShowTheErrorAndKeepTheForm)
{
    LoopbackServer desk(LoopbackServer::Security::Tls);
    QTemporaryFile authority;
    ASSERT_TRUE(authority.open());
    authority.write(LoopbackServer::certificateAuthorityPem());
    authority.flush();
    configuration.reservationHost = QStringLiteral("127.0.0.1:%1").arg(desk.port());
    configuration.reservationCAFile = authority.fileName();
    launch(0, QStringLiteral("sv"));
    // A default store of the collection presets the store button and the branch.
    QVariantMap stores = delegate->settingsDict()[QStringLiteral("storesDict")].toMap();
    stores[QStringLiteral("stores")] = QVariantList{QVariantMap{{QStringLiteral("id"), QStringLiteral("7.123")},
                                                                {QStringLiteral("name"), QStringLiteral("Växlo Test")},
                                                                {QStringLiteral("city"), QStringLiteral("Teststad")}}};
    delegate->settingsDict()[QStringLiteral("storesDict")] = stores;
    delegate->setupStoresArray();
    XRUserDefaults::standardUserDefaults().setObject(QStringLiteral("7.123"), QStringLiteral("XRDefaultStore"));
    openForm();
    EXPECT_EQ(button("storeButton")->text(), QStringLiteral("Växlo Test\nTeststad"));
    fill(typed);

    const QString error = XRLocalizedString("There was an error in the reservation process, please contact the store or try again later.");
    const struct
    {
        const char *what;
        xr::test::Response reply;
        QString message;
    } cases[] = {
        {"refused", {.body = "<Reply><Code>17</Code><Message>Slut på dollar</Message><Market>SE</Market></Reply>"},
         error + QStringLiteral(" [Slut på dollar]")},
        {"unreadable", {.status = 500, .body = "<html><body>Server error<br></body></html>"},
         error + QStringLiteral(" [%1]").arg(XRLocalizedString("ReservationNoReason"))},
        {"dropped", {.body = QByteArray(4000, 'x'), .fault = xr::test::Response::Fault::DropMidBody}, error},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        desk.route(QStringLiteral("/XmlReservation.aspx"), c.reply);
        pressReserve();
        QTest::mouseClick(sheet()->button(2), Qt::LeftButton);
        ASSERT_TRUE(waitUntil([] { return shownAlert() != nullptr; }));
        if (&c == &cases[0])
            xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-error-sv"));
        EXPECT_EQ(answerAlert(), (QStringList{XRLocalizedString("Reservation Error"), c.message}));
        EXPECT_EQ(currencyScreen->modalViewController(), form->navigationController());
        EXPECT_EQ(fieldTexts(), typed);
        EXPECT_FALSE(delegate->isLoadingSplashShown());
    }
    ASSERT_EQ(desk.requests().size(), 3);
    const QByteArray sent = QByteArray::fromPercentEncoding(desk.requests().first().body);
    EXPECT_TRUE(sent.contains("<Branch>123</Branch>")) << sent.toStdString();
    EXPECT_TRUE(sent.contains("<PaymentMethod>2</PaymentMethod>"));
}

TEST_F(ReservationFormTest, TheDatePanelOffersNothingBeforeTheEarliestDateAndMovesAWeekendChoiceToMonday)
{
    launch(0, QStringLiteral("sv"));
    openForm();
    XRDatePickerView *panel = form->datePicker();
    const QDate earliest = xr::earliestCollectionDate(QDateTime::currentDateTime()).date();
    EXPECT_EQ(panel->datePicker()->minimumDate(), earliest);
    EXPECT_EQ(button("dateButton")->text(), earliest.toString(Qt::ISODate));
    EXPECT_EQ(panel->y(), form->view()->height());

    QTest::mouseClick(button("dateButton"), Qt::LeftButton);
    waitForAnimations(panel);
    EXPECT_EQ(panel->geometry(), form->view()->rect());
    EXPECT_DOUBLE_EQ(panel->bgViewAlpha(), 0.5);
    xr::test::saveScreenshot(window.get(), QStringLiteral("reserve-date-panel-sv"));
    // The dimmed strip cancels as the Cancel item does.
    QDate saturday = earliest;
    while (saturday.dayOfWeek() != Qt::Saturday)
        saturday = saturday.addDays(1);
    panel->datePicker()->setSelectedDate(saturday);
    QTest::mouseClick(panel->bgView(), Qt::LeftButton);
    waitForAnimations(panel);
    EXPECT_EQ(panel->y(), form->view()->height());
    EXPECT_DOUBLE_EQ(panel->bgViewAlpha(), 0.0);
    EXPECT_EQ(button("dateButton")->text(), earliest.toString(Qt::ISODate));

    QTest::mouseClick(button("dateButton"), Qt::LeftButton);
    waitForAnimations(panel);
    QTest::mouseClick(panel->findChild<QPushButton *>(QStringLiteral("datePickerDone")), Qt::LeftButton);
    waitForAnimations(panel);
    EXPECT_EQ(button("dateButton")->text(), saturday.addDays(2).toString(Qt::ISODate));
    EXPECT_EQ(form->date(), saturday.addDays(2).toString(Qt::ISODate));
}

} // namespace

#endif
