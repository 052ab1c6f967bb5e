#include "NewsFeed.h"

#include "XmlWriter.h"

#include <QList>

namespace xr::demo {

namespace {

struct Story
{
    const char *title;
    const char *summary;
    int daysAgo;
    const char *time;  // "HH:mm:ss" of publication
};

struct Newsroom
{
    const char *market;
    const char *channelTitle;
    const char *channelDescription;
    QList<Story> stories;
};

const QList<Newsroom> &newsrooms()
{
    static const QList<Newsroom> list = {
        {"SE", "Vaxlo – Nyheter", "Nyheter från Vaxlo valutaväxling",
         {{"Ny butik i Uppsala",
           "Vi har öppnat en ny butik på Kungsgatan i Uppsala. Välkommen in och växla valuta alla vardagar.",
           1, "09:30:00"},
          {"Reservera valuta i appen",
           "Reservera valutan i appen och hämta den i valfri butik, tidigast tre vardagar senare.", 4, "08:15:00"},
          {"Öppettider i jul och nyår",
           "Under helgerna har många av våra butiker ändrade öppettider. Se butikslistan i appen för just din butik.",
           9, "14:00:00"},
          {"Ska du resa till Thailand?",
           "Ta med thailändska baht i kontanter till ankomsten. Våra större butiker har alltid baht i lager.", 15,
           "10:45:00"},
          {"Sälj tillbaka din resevaluta",
           "Har du valuta kvar efter resan? Vi köper tillbaka sedlar i de flesta valutor till dagens kurs.", 23,
           "11:20:00"},
          {"Gamla brittiska pappersedlar",
           "Brittiska pappersedlar på 20 och 50 pund är inte längre giltiga. Vi tar inte emot dem, men Bank of "
           "England byter dem.",
           34, "16:05:00"}}},
        {"DK", "Vaxlo – Nyheder", "Nyheder fra Vaxlo valutaveksling",
         {{"Ny butik i Aarhus",
           "Vi har åbnet en ny butik på Søndergade i Aarhus. Kom ind og veksl valuta alle hverdage.", 1, "09:30:00"},
          {"Reserver valuta i appen",
           "Reserver valutaen i appen, og hent den i den butik, du vælger, tidligst tre hverdage senere.", 4,
           "08:15:00"},
          {"Åbningstider i julen",
           "I helligdagene har mange af vores butikker ændrede åbningstider. Se butikslisten i appen for din butik.",
           9, "14:00:00"},
          {"Skal du til Thailand?",
           "Tag thailandske baht med i kontanter til ankomsten. Vores større butikker har altid baht på lager.", 15,
           "10:45:00"},
          {"Sælg din rejsevaluta tilbage",
           "Har du valuta tilovers efter rejsen? Vi køber sedler tilbage i de fleste valutaer til dagens kurs.", 23,
           "11:20:00"},
          {"Gamle britiske papirsedler",
           "Britiske papirsedler på 20 og 50 pund er ikke længere gyldige. Vi tager ikke imod dem, men Bank of "
           "England ombytter dem.",
           34, "16:05:00"}}},
        {"NO", "Vaxlo – Nyheter", "Nyheter fra Vaxlo valutaveksling",
         {{"Ny butikk i Bergen",
           "Vi har åpnet en ny butikk i Strandgata i Bergen. Velkommen innom for å veksle valuta alle hverdager.", 1,
           "09:30:00"},
          {"Reserver valuta i appen",
           "Reserver valutaen i appen og hent den i butikken du velger, tidligst tre hverdager senere.", 4,
           "08:15:00"},
          {"Åpningstider i julen",
           "I høytidene har mange av butikkene våre endrede åpningstider. Se butikklisten i appen for din butikk.", 9,
           "14:00:00"},
          {"Skal du til Thailand?",
           "Ta med thailandske baht i kontanter til ankomsten. De største butikkene våre har alltid baht på lager.",
           15, "10:45:00"},
          {"Selg tilbake reisevalutaen",
           "Har du valuta til overs etter reisen? Vi kjøper tilbake sedler i de fleste valutaer til dagens kurs.",
           23, "11:20:00"},
          {"Gamle britiske papirsedler",
           "Britiske papirsedler på 20 og 50 pund er ikke lenger gyldige. Vi tar ikke imot dem, men Bank of "
           "England bytter dem.",
           34, "16:05:00"}}},
        {"FI", "Vaxlo – Uutiset", "Vaxlo valuutanvaihdon uutiset",
         {{"Uusi myymälä Tampereella",
           "Olemme avanneet uuden myymälän Tampereen keskustaan. Tervetuloa vaihtamaan valuuttaa arkisin.", 1,
           "09:30:00"},
          {"Varaa valuutta sovelluksessa",
           "Varaa valuutta sovelluksessa ja nouda se valitsemastasi myymälästä aikaisintaan kolmen arkipäivän "
           "kuluttua.",
           4, "08:15:00"},
          {"Joulun aukioloajat",
           "Pyhien aikana monen myymälämme aukioloajat muuttuvat. Tarkista oman myymäläsi ajat sovelluksen "
           "myymäläluettelosta.",
           9, "14:00:00"},
          {"Matkalla Thaimaahan?",
           "Ota mukaan Thaimaan bahteja käteisenä saapumista varten. Suurimmissa myymälöissämme bahteja on aina "
           "varastossa.",
           15, "10:45:00"},
          {"Myy matkavaluutta takaisin",
           "Jäikö matkalta valuuttaa? Ostamme takaisin useimpien valuuttojen seteleitä päivän kurssiin.", 23,
           "11:20:00"},
          {"Vanhat brittiläiset paperisetelit",
           "Brittiläiset 20 ja 50 punnan paperisetelit eivät ole enää voimassa. Emme ota niitä vastaan, mutta "
           "Englannin keskuspankki vaihtaa ne.",
           34, "16:05:00"}}},
    };
    return list;
}

const Newsroom &newsroomOf(const Market &market)
{
    for (const Newsroom &room : newsrooms()) {
        if (market.code == QLatin1String(room.market))
            return room;
    }
    return newsrooms().first(); // every market has a newsroom above
}

// The form the application's news parser reads: "yyyy-MM-dd HH:mm:ss".
QString publicationDate(const Story &story, const QDateTime &now)
{
    return now.date().addDays(-story.daysAgo).toString(QStringLiteral("yyyy-MM-dd ")) + QLatin1String(story.time);
}

QString htmlEscaped(const char *text)
{
    return QString::fromUtf8(text).toHtmlEscaped();
}

} // namespace

QString NewsFeed::storyPath(const Market &market, int number)
{
    return QStringLiteral("/%1/%2.html").arg(market.newsFolder).arg(number);
}

QByteArray NewsFeed::renderFeed(const Market &market, const QString &host, const QDateTime &now)
{
    const Newsroom &room = newsroomOf(market);
    const QString base = QStringLiteral("http://") + host;
    XmlWriter xml;
    xml.startElement("rss");
    xml.attribute("version", QStringLiteral("2.0"));
    xml.startElement("channel");
    xml.element("title", QString::fromUtf8(room.channelTitle));
    xml.element("link", base + QLatin1Char('/'));
    xml.element("description", QString::fromUtf8(room.channelDescription));
    xml.element("language", market.language);
    for (int i = 0; i < room.stories.size(); ++i) {
        const Story &story = room.stories[i];
        xml.startElement("item");
        xml.element("title", QString::fromUtf8(story.title));
        xml.element("link", base + storyPath(market, i + 1));
        xml.element("description", QString::fromUtf8(story.summary));
        xml.element("pubDate", publicationDate(story, now));
        xml.endElement();
    }
    xml.endElement();
    xml.endElement();
    return xml.finish();
}

std::optional<QByteArray> NewsFeed::renderStory(const Market &market, int number, const QDateTime &now)
{
    const Newsroom &room = newsroomOf(market);
    if (number < 1 || number > room.stories.size())
        return std::nullopt;
    const Story &story = room.stories[number - 1];
    const QString page = QStringLiteral(
        "<!DOCTYPE html>\n<html lang=\"%1\">\n<head><meta charset=\"utf-8\"><title>%2</title></head>\n"
        "<body>\n<h1>%2</h1>\n<p><small>%3</small></p>\n<p>%4</p>\n</body>\n</html>\n")
        .arg(market.language, htmlEscaped(story.title), publicationDate(story, now), htmlEscaped(story.summary));
    return page.toUtf8();
}

} // namespace xr::demo
