<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="da_DK">
<context>
    <name>XR</name>
    <message>
        <source>XRNetworkAlertTitle</source>
        <translation>Ingen forbindelse</translation>
    </message>
    <message>
        <source>XRNetworkAlertMessage</source>
        <translation>Tjenesten kunne ikke nås. Kontrollér din internetforbindelse, og prøv igen.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>sold for:</source>
        <translation>sælges for:</translation>
    </message>
    <message>
        <source>gives you:</source>
        <translation>giver dig:</translation>
    </message>
    <message>
        <source>Last update</source>
        <translation>Senest opdateret</translation>
    </message>
    <message>
        <source>CurrenciesDisclaimer</source>
        <translation>Kontantkurser. Med forbehold for ændringer.</translation>
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
        <translation>Køb</translation>
    </message>
    <message>
        <source>Sell</source>
        <translation>Sælg</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Beløb</translation>
    </message>
    <message>
        <source>Reserve currency</source>
        <translation>Reservér valuta</translation>
    </message>
    <message>
        <source>Reservations are not available yet</source>
        <translation>Reservationer er ikke tilgængelige endnu</translation>
    </message>
    <message>
        <source>Loading data...</source>
        <translation>Henter data...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Færdig</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Tilbage</translation>
    </message>
    <message>
        <source>Stores</source>
        <translation>Butikker</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Make default store</source>
        <translation>Gør til min butik</translation>
    </message>
    <message>
        <source>Directions</source>
        <translation>Rutevejledning</translation>
    </message>
    <message>
        <source>News</source>
        <translation>Nyheder</translation>
    </message>
    <message>
        <source>PublishedDateString</source>
        <translation>Udgivet</translation>
    </message>
    <message>
        <source>Read more</source>
        <translation>Læs mere</translation>
    </message>
    <message>
        <source>Choose currency</source>
        <translation>Vælg valuta</translation>
    </message>
    <message>
        <source>Could not update the rates. Rates from %1</source>
        <translation>Kurserne kunne ikke opdateres. Kurser fra %1</translation>
    </message>
    <message>
        <source>No rates available. Check your internet connection.</source>
        <translation>Ingen kurser tilgængelige. Kontrollér din internetforbindelse.</translation>
    </message>
    <message>
        <source>Tabs</source>
        <translation>Faner</translation>
    </message>
</context>
</TS>
