#include "ReservationDesk.h"

#include "CurrencyCatalogue.h"
#include "Market.h"
#include "PercentDecoding.h"
#include "ReservationMessages.h"
#include "ReservationRequestReader.h"
#include "StoreDirectory.h"

#include <openssl/crypto.h>

namespace xr::demo {

namespace {

const QString clientIdentifier = QStringLiteral("kelpstone");
const QByteArray sharedSecret = QByteArrayLiteral("Xk4pQ9wRt2LmZb7");
constexpr qsizetype longestName = 60;

ReservationReply malformed(const QString &problem)
{
    return {ReservationCode::MalformedRequest,
            ReservationMessages::text(ReservationCode::MalformedRequest, QString()).arg(problem), QString(), QString()};
}

// A value of the request as it may appear in a reply: on one line and short.
QString shown(const QString &value)
{
    constexpr qsizetype longest = 24;
    QString text = value.simplified();
    if (text.size() <= longest)
        return text;
    text.truncate(longest);
    if (text.back().isHighSurrogate())
        text.chop(1);
    return text + QChar(0x2026);
}

bool digitsOnly(const QString &text, qsizetype fewest, qsizetype most)
{
    if (text.size() < fewest || text.size() > most)
        return false;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

// The secret is compared in constant time, so that timing tells nothing.
bool secretMatches(const QString &given)
{
    const QByteArray bytes = given.toUtf8();
    return bytes.size() == sharedSecret.size()
        && CRYPTO_memcmp(bytes.constData(), sharedSecret.constData(), size_t(bytes.size())) == 0;
}

// "850.00" as the application prints prices: digits, optionally a point and
// one or two decimals.
std::optional<double> amountValue(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() > 2 || !digitsOnly(parts[0], 1, 9) || (parts.size() == 2 && !digitsOnly(parts[1], 1, 2)))
        return std::nullopt;
    return text.toDouble();
}

std::optional<QDate> collectionDate(const QString &text)
{
    if (text.size() != 10 || text[4] != QLatin1Char('-') || text[7] != QLatin1Char('-')
        || !digitsOnly(text.left(4), 4, 4) || !digitsOnly(text.mid(5, 2), 2, 2) || !digitsOnly(text.mid(8), 2, 2))
        return std::nullopt;
    const QDate date(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8).toInt());
    return date.isValid() ? std::optional<QDate>(date) : std::nullopt;
}

bool isWeekend(const QDate &date)
{
    return date.dayOfWeek() >= 6;
}

} // namespace

ReservationDesk::ReservationDesk(ReservationBook &book)
    : m_book(book)
{
}

ReservationReply ReservationDesk::tooLarge()
{
    return malformed(QStringLiteral("the body is larger than %1 KiB").arg(maximumBodySize / 1024));
}

ReservationReply ReservationDesk::notAReservation()
{
    return malformed(QStringLiteral("the service takes a POST of a percent-encoded reservation document"));
}

QDate ReservationDesk::earliestCollectionDate(const QDate &today)
{
    const QDate date = today.addDays(3);
    return isWeekend(date) ? date.addDays(8 - date.dayOfWeek()) : date;
}

ReservationReply ReservationDesk::handle(const QByteArray &body, const QDateTime &now)
{
    if (body.size() > maximumBodySize)
        return tooLarge();
    const std::optional<QByteArray> xml = PercentDecoding::decode(body);
    if (!xml)
        return malformed(QStringLiteral("the body is not percent-encoded"));
    const RequestReading reading = ReservationRequestReader::read(*xml);
    if (!reading.request)
        return malformed(reading.problem);
    return check(*reading.request, now);
}

ReservationReply ReservationDesk::check(const ReservationRequest &request, const QDateTime &now)
{
    const Market *market = Market::byCode(request.market);
    const QString language = market ? market->language : QString();
    const QString marketCode = market ? market->code : QString();
    const auto answer = [&](ReservationCode code) {
        return ReservationReply{code, ReservationMessages::text(code, language), marketCode, QString()};
    };
    const auto answerWith = [&](ReservationCode code, const QString &detail) {
        ReservationReply reply = answer(code);
        reply.message = reply.message.arg(detail);
        return reply;
    };

    if (!request.missing.isEmpty())
        return answerWith(ReservationCode::MissingElement, request.missing.join(QStringLiteral(", ")));
    if (request.clientId != clientIdentifier || !secretMatches(request.sharedSecret))
        return answer(ReservationCode::NotAuthorised);
    if (request.versionMajor != QLatin1String("1"))
        return answerWith(ReservationCode::UnsupportedVersion, shown(request.versionMajor));
    if (!market)
        return answerWith(ReservationCode::UnknownMarket, shown(request.market));
    if (!CurrencyCatalogue::sells(*market, request.currency))
        return answerWith(ReservationCode::UnknownCurrency, shown(request.currency));

    const std::optional<double> amount = amountValue(request.amount);
    if (!amount || *amount < market->minimumAmount || *amount > market->maximumAmount) {
        ReservationReply reply = answer(ReservationCode::InvalidAmount);
        reply.message = reply.message.arg(market->minimumAmount).arg(market->maximumAmount).arg(market->baseCurrency);
        return reply;
    }

    const std::optional<Store> store = digitsOnly(request.branch, 1, 9)
        ? StoreDirectory::findStore(*market, request.branch.toInt())
        : std::nullopt;
    if (!store)
        return answerWith(ReservationCode::UnknownBranch, shown(request.branch));

    const QDate earliest = earliestCollectionDate(now.date());
    const std::optional<QDate> date = collectionDate(request.fetchAt);
    if (!date || *date < earliest || isWeekend(*date))
        return answerWith(ReservationCode::InvalidDate, earliest.toString(Qt::ISODate));

    // Without a number the application sends twelve zeros; only Finland takes a
    // reservation without one.
    const bool noNumber = request.personalNumber.count(QLatin1Char('0')) == request.personalNumber.size();
    if (!digitsOnly(request.personalNumber, 10, 12) || (noNumber && market->code != QLatin1String("FI")))
        return answer(ReservationCode::InvalidPersonalNumber);

    if (request.firstName.isEmpty() || request.lastName.isEmpty() || request.firstName.size() > longestName
        || request.lastName.size() > longestName || !digitsOnly(request.phone, 6, 15))
        return answer(ReservationCode::InvalidCustomer);

    const QStringList paymentMethods = {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")};
    if (!paymentMethods.contains(request.paymentMethod))
        return answerWith(ReservationCode::InvalidPaymentMethod, shown(request.paymentMethod));

    const AcceptedReservation booked = m_book.add({QString(), market->code, request.currency, request.amount,
                                                   store->number, store->name, request.fetchAt, request.firstName,
                                                   request.lastName, request.phone, request.personalNumber,
                                                   request.paymentMethod.toInt(), now});
    ReservationReply reply = answer(ReservationCode::Accepted);
    reply.message = reply.message.arg(booked.reference, request.currency, store->name, request.fetchAt);
    reply.reference = booked.reference;
    return reply;
}

} // namespace xr::demo
