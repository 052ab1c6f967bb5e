#pragma once

#include "XRXMLParser.h"

#include <QByteArray>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

// Reads an RSS feed into news items, one for each "item" element, in feed order:
// "title", "link", "summary", "rawdate", and "date" with "datestring" when the
// publication date reads.
class XRNewsFeedParser : private XRXMLParserDelegate
{
public:
    struct Result
    {
        // The items completed; after a parse error, those completed before it.
        QVariantList stories;
        std::optional<XRError> error;
    };

    static Result parse(const QByteArray &feed);

private:
    XRNewsFeedParser() = default;

    void parserDidStartElement(XRXMLParser *parser, const QString &elementName, const QString &namespaceURI,
                               const QString &qualifiedName, const QHash<QString, QString> &attributes) override;
    void parserFoundCharacters(XRXMLParser *parser, const QString &string) override;
    void parserDidEndElement(XRXMLParser *parser, const QString &elementName, const QString &namespaceURI,
                             const QString &qualifiedName) override;

    QVariantList m_stories;
    // The element most recently started. It stays at an element's end, so the
    // line break after a closing tag joins that element's text.
    QString m_currentElement;
    // The collecting texts exist from the first "item" on; the feed's own
    // title, link and description before it are dropped.
    bool m_collecting = false;
    QString m_currentTitle;
    QString m_currentLink;
    QString m_currentSummary;
    QString m_currentDate;
};
