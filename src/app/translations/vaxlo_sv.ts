<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="sv_SE">
<context>
    <name>XR</name>
    <message>
        <source>XRNetworkAlertTitle</source>
        <translation>Ingen anslutning</translation>
    </message>
    <message>
        <source>XRNetworkAlertMessage</source>
        <translation>Det gick inte att nå tjänsten. Kontrollera din internetanslutning och försök igen.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>sold for:</source>
        <translation>säljs för:</translation>
    </message>
    <message>
        <source>gives you:</source>
        <translation>ger dig:</translation>
    </message>
    <message>
        <source>Last update</source>
        <translation>Senast uppdaterad</translation>
    </message>
    <message>
        <source>CurrenciesDisclaimer</source>
        <translation>Kontantkurser. Med reservation för ändringar.</translation>
    </message>
    <message>
        <source>Warning old rates</source>
        <translation>Varning: gamla kurser</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Valuta</translation>
    </message>
    <message>
        <source>Buy</source>
        <translation>Köp</translation>
    </message>
    <message>
        <source>Sell</source>
        <translation>Sälj</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Belopp</translation>
    </message>
    <message>
        <source>Reserve currency</source>
        <translation>Reservera valuta</translation>
    </message>
    <message>
        <source>Reservations are not available yet</source>
        <translation>Reservationer är inte tillgängliga ännu</translation>
    </message>
    <message>
        <source>Loading data...</source>
        <translation>Hämtar data...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Klar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Tillbaka</translation>
    </message>
    <message>
        <source>Stores</source>
        <translation>Butiker</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Make default store</source>
        <translation>Gör till min butik</translation>
    </message>
    <message>
        <source>Directions</source>
        <translation>Vägbeskrivning</translation>
    </message>
    <message>
        <source>News</source>
        <translation>Nyheter</translation>
    </message>
    <message>
        <source>PublishedDateString</source>
        <translation>Publicerad</translation>
    </message>
    <message>
        <source>Read more</source>
        <translation>Läs mer</translation>
    </message>
    <message>
        <source>Choose currency</source>
        <translation>Välj valuta</translation>
    </message>
    <message>
        <source>Could not update the rates. Rates from %1</source>
        <translation>Kurserna kunde inte uppdateras. Kurser från %1</translation>
    </message>
    <message>
        <source>No rates available. Check your internet connection.</source>
        <translation>Inga kurser finns. Kontrollera din internetanslutning.</translation>
    </message>
    <message>
        <source>Tabs</source>
        <translation>Flikar</translation>
    </message>
</context>
</TS>
