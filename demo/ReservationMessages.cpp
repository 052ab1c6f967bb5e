#include "ReservationMessages.h"

namespace xr::demo {

namespace {

struct Message
{
    ReservationCode code;
    const char *english;
    const char *swedish;
    const char *danish;
    const char *norwegian;
    const char *finnish;
};

// Codes that come before the market is known have English texts only.
const Message messages[] = {
    {ReservationCode::Accepted, "Reservation %1 is confirmed. Collect your currency (%2) at %3 on %4.",
     "Reservationen %1 är bekräftad. Hämta din valuta (%2) hos %3 den %4.",
     "Reservationen %1 er bekræftet. Hent din valuta (%2) hos %3 den %4.",
     "Reservasjonen %1 er bekreftet. Hent valutaen din (%2) hos %3 den %4.",
     "Varaus %1 on vahvistettu. Nouda valuuttasi (%2) myymälästä %3 päivänä %4."},
    {ReservationCode::MalformedRequest, "The request could not be read: %1.", nullptr, nullptr, nullptr, nullptr},
    {ReservationCode::MissingElement, "The request lacks these elements: %1.",
     "Förfrågan saknar följande fält: %1.", "Forespørgslen mangler disse felter: %1.",
     "Forespørselen mangler disse feltene: %1.", "Pyynnöstä puuttuu kenttiä: %1."},
    {ReservationCode::NotAuthorised, "The client is not authorised to make reservations.",
     "Klienten har inte behörighet att göra reservationer.",
     "Klienten har ikke adgang til at foretage reservationer.",
     "Klienten har ikke tilgang til å gjøre reservasjoner.",
     "Asiakasohjelmalla ei ole oikeutta tehdä varauksia."},
    {ReservationCode::UnsupportedVersion, "Request version %1 is not supported.",
     "Version %1 av förfrågan stöds inte.", "Version %1 af forespørgslen understøttes ikke.",
     "Versjon %1 av forespørselen støttes ikke.", "Pyynnön versiota %1 ei tueta."},
    {ReservationCode::UnknownMarket, "Unknown market \"%1\".", nullptr, nullptr, nullptr, nullptr},
    {ReservationCode::UnknownCurrency, "The currency %1 cannot be reserved here.",
     "Valutan %1 kan inte reserveras här.", "Valutaen %1 kan ikke reserveres her.",
     "Valutaen %1 kan ikke reserveres her.", "Valuuttaa %1 ei voi varata."},
    {ReservationCode::InvalidAmount, "The amount must be between %1 and %2 %3.",
     "Beloppet måste vara mellan %1 och %2 %3.", "Beløbet skal være mellem %1 og %2 %3.",
     "Beløpet må være mellom %1 og %2 %3.", "Summan on oltava välillä %1–%2 %3."},
    {ReservationCode::UnknownBranch, "There is no store with number %1.",
     "Det finns ingen butik med nummer %1.", "Der findes ingen butik med nummer %1.",
     "Det finnes ingen butikk med nummer %1.", "Myymälää numero %1 ei löydy."},
    {ReservationCode::InvalidDate, "The collection date must be a weekday no earlier than %1.",
     "Hämtningsdagen måste vara en vardag, tidigast %1.", "Afhentningsdagen skal være en hverdag, tidligst %1.",
     "Hentedagen må være en hverdag, tidligst %1.", "Noutopäivän on oltava arkipäivä, aikaisintaan %1."},
    {ReservationCode::InvalidPersonalNumber, "The personal identity number must have 10 to 12 digits.",
     "Personnumret måste ha 10 till 12 siffror.", "CPR-nummeret skal have 10 til 12 cifre.",
     "Fødselsnummeret må ha 10 til 12 sifre.", "Henkilötunnuksessa on oltava 10–12 numeroa."},
    {ReservationCode::InvalidCustomer, "Please give a first name, a last name and a telephone number of digits only.",
     "Ange förnamn, efternamn och ett telefonnummer med enbart siffror.",
     "Angiv fornavn, efternavn og et telefonnummer kun med cifre.",
     "Oppgi fornavn, etternavn og et telefonnummer med bare sifre.",
     "Anna etunimi, sukunimi ja puhelinnumero pelkkinä numeroina."},
    {ReservationCode::InvalidPaymentMethod, "Unknown payment method %1.", "Okänt betalsätt %1.",
     "Ukendt betalingsmåde %1.", "Ukjent betalingsmåte %1.", "Tuntematon maksutapa %1."},
};

const char *inLanguage(const Message &message, const QString &language)
{
    if (language == QLatin1String("sv"))
        return message.swedish;
    if (language == QLatin1String("da"))
        return message.danish;
    if (language == QLatin1String("nb"))
        return message.norwegian;
    if (language == QLatin1String("fi"))
        return message.finnish;
    return nullptr;
}

} // namespace

QString ReservationMessages::text(ReservationCode code, const QString &language)
{
    for (const Message &message : messages) {
        if (message.code != code)
            continue;
        const char *translated = inLanguage(message, language);
        return QString::fromUtf8(translated ? translated : message.english);
    }
    return QString(); // every code has a message above
}

} // namespace xr::demo
