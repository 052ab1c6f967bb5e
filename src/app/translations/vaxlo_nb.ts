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
        <source>Reservations are not available yet</source>
        <translation>Reservasjoner er ikke tilgjengelige ennå</translation>
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
</context>
</TS>
