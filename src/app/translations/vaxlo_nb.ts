<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="nb_NO">
<context>
    <name>XR</name>
    <message>
        <source>XRNetworkAlertTitle</source>
        <translation>Ingen tilkobling</translation>
    </message>
    <message>
        <source>XRNetworkAlertMessage</source>
        <translation>Tjenesten kunne ikke nås. Sjekk internettilkoblingen og prøv igjen.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>sold for:</source>
        <translation>selges for:</translation>
    </message>
    <message>
        <source>gives you:</source>
        <translation>gir deg:</translation>
    </message>
    <message>
        <source>Last update</source>
        <translation>Sist oppdatert</translation>
    </message>
    <message>
        <source>CurrenciesDisclaimer</source>
        <translation>Kontantkurser. Med forbehold om endringer.</translation>
    </message>
    <message>
        <source>Warning old rates</source>
        <translation>Advarsel: gamle kurser</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Valuta</translation>
    </message>
    <message>
        <source>Buy</source>
        <translation>Kjøp</translation>
    </message>
    <message>
        <source>Sell</source>
        <translation>Selg</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Beløp</translation>
    </message>
    <message>
        <source>Reserve currency</source>
        <translation>Reserver valuta</translation>
    </message>
    <message>
        <source>Loading data...</source>
        <translation>Henter data...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Ferdig</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Tilbake</translation>
    </message>
    <message>
        <source>Stores</source>
        <translation>Butikker</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Posisjon</translation>
    </message>
    <message>
        <source>Make default store</source>
        <translation>Gjør til min butikk</translation>
    </message>
    <message>
        <source>Directions</source>
        <translation>Veibeskrivelse</translation>
    </message>
    <message>
        <source>News</source>
        <translation>Nyheter</translation>
    </message>
    <message>
        <source>PublishedDateString</source>
        <translation>Publisert</translation>
    </message>
    <message>
        <source>Read more</source>
        <translation>Les mer</translation>
    </message>
    <message>
        <source>Choose currency</source>
        <translation>Velg valuta</translation>
    </message>
    <message>
        <source>Could not update the rates. Rates from %1</source>
        <translation>Kursene kunne ikke oppdateres. Kurser fra %1</translation>
    </message>
    <message>
        <source>No rates available. Check your internet connection.</source>
        <translation>Ingen kurser tilgjengelig. Sjekk internettforbindelsen.</translation>
    </message>
    <message>
        <source>Tabs</source>
        <translation>Faner</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Choose store</source>
        <translation>Velg butikk</translation>
    </message>
    <message>
        <source>Choose default store</source>
        <translation>Velg standardbutikk</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Innstillinger</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Språk</translation>
    </message>
    <message>
        <source>LanguageMarketHint</source>
        <translation>Språket velger landet du ser kurser, butikker og nyheter for.</translation>
    </message>
    <message>
        <source>Default store</source>
        <translation>Standardbutikk</translation>
    </message>
    <message>
        <source>Reserve</source>
        <translation>Reserver</translation>
    </message>
    <message>
        <source>First name</source>
        <translation>Fornavn</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Etternavn</translation>
    </message>
    <message>
        <source>Personal ID</source>
        <translation>Fødselsnummer</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Store</source>
        <translation>Butikk</translation>
    </message>
    <message>
        <source>Collection date</source>
        <translation>Hentes den</translation>
    </message>
    <message>
        <source>PersonalIDSample</source>
        <translation>DDMMÅÅNNNNN</translation>
    </message>
    <message>
        <source>PhoneSample</source>
        <translation>91234567</translation>
    </message>
    <message>
        <source>PersonalIDOptional</source>
        <translation>Trengs ikke</translation>
    </message>
    <message>
        <source>Missing fields</source>
        <translation>Manglende felt</translation>
    </message>
    <message>
        <source>One or many of the requried fields are missing or invalid.</source>
        <translation>Ett eller flere obligatoriske felt mangler eller er ugyldige.</translation>
    </message>
    <message>
        <source>Pick payment method</source>
        <translation>Velg betalingsmåte</translation>
    </message>
    <message>
        <source>Credit Card</source>
        <translation>Kort</translation>
    </message>
    <message>
        <source>Cash (%@)</source>
        <translation>Kontant (%@)</translation>
    </message>
    <message>
        <source>other currency</source>
        <translation>annen valuta</translation>
    </message>
    <message>
        <source>Reserving</source>
        <translation>Reserverer</translation>
    </message>
    <message>
        <source>Reservation Error</source>
        <translation>Reservasjonen mislyktes</translation>
    </message>
    <message>
        <source>There was an error in the reservation process, please contact the store or try again later.</source>
        <translation>Det oppstod en feil under reservasjonen. Kontakt butikken eller prøv igjen senere.</translation>
    </message>
    <message>
        <source>ReservationNoReason</source>
        <translation>ingen årsak oppgitt</translation>
    </message>
    <message>
        <source>Reservation Completed</source>
        <translation>Reservasjonen er fullført</translation>
    </message>
    <message>
        <source>The reservation is now completed</source>
        <translation>Reservasjonen din er nå fullført</translation>
    </message>
    <message>
        <source>Close calendar</source>
        <translation>Lukk kalenderen</translation>
    </message>
    <message>
        <source>Closes the map</source>
        <translation>Lukker kartet</translation>
    </message>
    <message>
        <source>Follows where you are on the map</source>
        <translation>Viser hvor du er på kartet</translation>
    </message>
    <message>
        <source>Opens driving directions to the store</source>
        <translation>Åpner veibeskrivelse til butikken</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Kart</translation>
    </message>
    <message>
        <source>Swedish kronor</source>
        <translation>svenske kroner</translation>
    </message>
    <message>
        <source>Danish kroner</source>
        <translation>danske kroner</translation>
    </message>
    <message>
        <source>Norwegian kroner</source>
        <translation>norske kroner</translation>
    </message>
    <message>
        <source>euro</source>
        <translation>euro</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Forrige måned</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Neste måned</translation>
    </message>
</context>
</TS>
