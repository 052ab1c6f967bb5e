#if __has_include("DemoService.h")

#include "DemoApplication.h"
#include "Screenshots.h"
#include "XRTableView.h"
#include "ZOTableAlert.h"

#include <QLabel>
#include <QPushButton>

namespace {

struct Market
{
    int languageIndex;
    const char *language;
    const char *code;
};

class PrefsScreenTest : public xr::test::DemoApplicationTest, public testing::WithParamInterface<Market>
{
};

TEST_P(PrefsScreenTest, ADefaultStoreIsChosenWithACheckmarkAndALanguageChangeClearsItAndReloads)
{
    const Market market = GetParam();
    launch(market.languageIndex, QString::fromLatin1(market.language));
    const QString name = QString::fromLatin1(market.language);
    XRUserDefaults &defaults = XRUserDefaults::standardUserDefaults();
    tabs->setSelectedIndex(1);
    auto *button = find<QPushButton>("defaultStoreButton");
    EXPECT_EQ(button->text(), XRLocalizedString("Choose default store"));
    EXPECT_TRUE(prefsScreen->view()->findChild<QPushButton *>(QStringLiteral("languageSegment%1").arg(market.languageIndex))->isChecked());

    // The chooser lists the stores by city; two of one city both show the city, told apart by their names.
    const QVariantList stores = *delegate->sortedStoresArray();
    int twin = 1;
    while (twin < stores.size() && stores[twin].toMap()[QStringLiteral("city")] != stores[twin - 1].toMap()[QStringLiteral("city")])
        ++twin;
    ASSERT_LT(twin, stores.size()) << "the demo has cities with more than one store";
    QTest::mouseClick(button, Qt::LeftButton);
    XRTableView *table = prefsScreen->alert()->tableView();
    ASSERT_EQ(table->numberOfRowsInSection(0), stores.size());
    table->scrollToRowAtIndexPath({0, twin});
    for (int row : {twin - 1, twin}) {
        const QVariantMap store = stores[row].toMap();
        XRTableViewCell *cell = table->cellForRowAtIndexPath({0, row});
        ASSERT_TRUE(cell);
        EXPECT_EQ(cell->textLabel()->text(), store[QStringLiteral("city")].toString());
        EXPECT_EQ(cell->detailTextLabel()->text(), store[QStringLiteral("name")].toString());
    }
    clickRow(table, twin);
    const QVariantMap chosen = stores[twin].toMap();
    EXPECT_EQ(shownAlert(), nullptr);
    EXPECT_EQ(button->text(), chosen[QStringLiteral("name")].toString() + QLatin1Char('\n') + chosen[QStringLiteral("city")].toString());
    EXPECT_EQ(defaults.stringForKey(QStringLiteral("XRDefaultStore")), chosen[QStringLiteral("id")].toString());
    xr::test::saveScreenshot(window.get(), QStringLiteral("prefs-%1").arg(name));

    QTest::mouseClick(button, Qt::LeftButton);
    table->scrollToRowAtIndexPath({0, twin});
    EXPECT_EQ(table->cellForRowAtIndexPath({0, twin})->accessoryType(), XRTableViewCell::AccessoryCheckmark);
    EXPECT_EQ(table->cellForRowAtIndexPath({0, twin - 1})->accessoryType(), XRTableViewCell::AccessoryNone);
    xr::test::saveScreenshot(window.get(), QStringLiteral("prefs-chooser-%1").arg(name));
    QTest::mouseClick(shownAlert()->button(0), Qt::LeftButton);

    // Danish: the default store goes (its city may stay) and the stores and rates of Denmark load.
    QTest::mouseClick(find<QPushButton>("languageSegment1"), Qt::LeftButton);
    EXPECT_EQ(defaults.integerForKey(QStringLiteral("language")), 1);
    EXPECT_FALSE(defaults.objectForKey(QStringLiteral("XRDefaultStore")).isValid());
    EXPECT_FALSE(defaults.objectForKey(QStringLiteral("XRDefaultStoreName")).isValid());
    EXPECT_EQ(button->text(), XRLocalizedString("Choose default store"));
    ASSERT_TRUE(xr::test::waitUntil([this] {
        return requestsTo(QStringLiteral("DK")).size() == 2 && !currencyScreen->isLoading()
               && delegate->storesArray()->first().toMap()[QStringLiteral("id")].toString().startsWith(QStringLiteral("DK"));
    }));
    EXPECT_EQ(requestsTo(QStringLiteral("DK")).filter(QStringLiteral("ratesxml")).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Markets, PrefsScreenTest,
                         testing::Values(Market{0, "sv", "SE"}, Market{3, "fi", "FI"}),
                         [](const testing::TestParamInfo<Market> &info) { return std::string(info.param.language); });

} // namespace

#endif
