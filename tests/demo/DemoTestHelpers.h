#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>
#include <QUrl>

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <memory>

namespace xr::demo::test {

// Monday 30 November 2026, 10:00 local time: the earliest collection date is
// then Thursday 3 December.
inline QDateTime fixedNow()
{
    return QDateTime(QDate(2026, 11, 30), QTime(10, 0));
}

// A document read the strict way: nothing when it is not well-formed.
class XmlDocument
{
public:
    explicit XmlDocument(const QByteArray &bytes)
        : m_doc(xmlReadMemory(bytes.constData(), int(bytes.size()), nullptr, nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
                xmlFreeDoc)
    {
    }
    bool wellFormed() const { return m_doc != nullptr; }
    xmlNode *root() const { return m_doc ? xmlDocGetRootElement(m_doc.get()) : nullptr; }

private:
    std::unique_ptr<xmlDoc, decltype(&xmlFreeDoc)> m_doc;
};

inline QString nameOf(const xmlNode *node)
{
    return QString::fromUtf8(reinterpret_cast<const char *>(node->name));
}

inline QList<xmlNode *> childElements(const xmlNode *parent, const char *name = nullptr)
{
    QList<xmlNode *> found;
    for (xmlNode *node = parent ? parent->children : nullptr; node; node = node->next) {
        if (node->type == XML_ELEMENT_NODE && (!name || nameOf(node) == QLatin1String(name)))
            found << node;
    }
    return found;
}

inline xmlNode *childElement(const xmlNode *parent, const char *name)
{
    const QList<xmlNode *> found = childElements(parent, name);
    return found.isEmpty() ? nullptr : found.first();
}

inline QString textOf(const xmlNode *node)
{
    xmlChar *content = xmlNodeGetContent(node);
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(content));
    xmlFree(content);
    return text;
}

// The text of the named child, or a null string when there is no such child.
inline QString childText(const xmlNode *parent, const char *name)
{
    const xmlNode *child = childElement(parent, name);
    return child ? textOf(child) : QString();
}

// What the application does to a reservation body: RFC 2396 percent-encoding
// that leaves "<" and ">" and the reserved characters as they are.
inline QByteArray encodeLikeTheApplication(const QString &text)
{
    return QUrl::toPercentEncoding(text, "!*'();/?:@&=+$,<>");
}

// The application's reservation request with good values for the Swedish
// market; tests change the field they are about.
struct Submission
{
    QString clientId = QStringLiteral("kelpstone");
    QString secret = QStringLiteral("Xk4pQ9wRt2LmZb7");
    QString market = QStringLiteral("SE");
    QString currency = QStringLiteral("USD");
    QString amount = QStringLiteral("1105.00");
    QString number = QStringLiteral("198001011234");
    QString first = QStringLiteral("Åsa");
    QString last = QStringLiteral("Berg");
    QString tele = QStringLiteral("0701234567");
    QString fetchAt = QStringLiteral("2026-12-03");
    QString branch = QStringLiteral("104");
    QString payment = QStringLiteral("1");

    QString xml() const
    {
        return QStringLiteral("<Submit><Client><ClientID>%1</ClientID><SharedSecret>%2</SharedSecret><Market>%3</Market>"
                              "</Client><Version><Major>1</Major><Minor>0</Minor></Version><Items><Item><Currency>%4"
                              "</Currency><Amount>%5</Amount></Item></Items><Customer><Number>%6</Number><First>%7"
                              "</First><Last>%8</Last><Tele>%9</Tele></Customer><Other><FetchAt>%10</FetchAt>"
                              "<Branch>%11</Branch><PaymentMethod>%12</PaymentMethod></Other></Submit>")
            .arg(clientId, secret, market, currency, amount, number, first, last, tele)
            .arg(fetchAt, branch, payment);
    }
    QByteArray body() const { return encodeLikeTheApplication(xml()); }
};

} // namespace xr::demo::test
