#include "XRNewsFeedParser.h"

#include "OrbDateCategory.h"
#include "XRStringCategory.h"

namespace {
const QString itemElement = QStringLiteral("item");
const QString titleElement = QStringLiteral("title");
const QString linkElement = QStringLiteral("link");
const QString descriptionElement = QStringLiteral("description");
const QString pubDateElement = QStringLiteral("pubDate");
} // namespace

XRNewsFeedParser::Result XRNewsFeedParser::parse(const QByteArray &feed)
{
    XRNewsFeedParser reader;
    XRXMLParser parser(feed);
    parser.setDelegate(&reader);
    parser.setShouldProcessNamespaces(false);
    parser.setShouldReportNamespacePrefixes(false);
    parser.setShouldResolveExternalEntities(false);
    Result result;
    if (!parser.parse())
        result.error = parser.parserError();
    result.stories = std::move(reader.m_stories);
    return result;
}

void XRNewsFeedParser::parserDidStartElement(XRXMLParser *, const QString &elementName, const QString &,
                                             const QString &, const QHash<QString, QString> &)
{
    m_currentElement = elementName;
    if (elementName == itemElement) {
        m_collecting = true;
        m_currentTitle.clear();
        m_currentLink.clear();
        m_currentSummary.clear();
        m_currentDate.clear();
    }
}

// CDATA sections arrive apart from characters and are not collected.
void XRNewsFeedParser::parserFoundCharacters(XRXMLParser *, const QString &string)
{
    if (!m_collecting)
        return;
    if (m_currentElement == titleElement)
        m_currentTitle += string;
    else if (m_currentElement == linkElement)
        m_currentLink += string;
    else if (m_currentElement == descriptionElement)
        m_currentSummary += string;
    else if (m_currentElement == pubDateElement)
        m_currentDate += string;
}

void XRNewsFeedParser::parserDidEndElement(XRXMLParser *, const QString &elementName, const QString &,
                                           const QString &)
{
    // The line breaks and indentation between elements belong to none of them:
    // an indented feed keeps its links and dates readable.
    m_currentElement.clear();
    if (elementName != itemElement)
        return;
    QVariantMap item{
        {QStringLiteral("title"), XRStringCategory::stringWithoutNewlineSuffix(m_currentTitle)},
        {QStringLiteral("link"), XRStringCategory::stringWithoutNewlineSuffix(m_currentLink)},
        {QStringLiteral("summary"), XRStringCategory::stringWithoutNewlineSuffix(m_currentSummary)},
        {QStringLiteral("rawdate"), XRStringCategory::stringWithoutNewlineSuffix(m_currentDate)},
    };
    // An item whose date does not read stays in the list with an empty date text.
    const std::optional<QDateTime> date = OrbDateCategory::dateFromRSSDateString(item.value(QStringLiteral("rawdate")).toString());
    if (date)
        item.insert(QStringLiteral("date"), *date);
    item.insert(QStringLiteral("datestring"), date ? OrbDateCategory::RSSDateString(*date) : QString());
    m_stories.append(item);
}
