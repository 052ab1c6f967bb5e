<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fi_FI">
<context>
    <name>XR</name>
    <message>
        <source>XRNetworkAlertTitle</source>
        <translation>Ei yhteyttä</translation>
    </message>
    <message>
        <source>XRNetworkAlertMessage</source>
        <translation>Palveluun ei saatu yhteyttä. Tarkista internetyhteys ja yritä uudelleen.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>sold for:</source>
        <translation>myydään hintaan:</translation>
    </message>
    <message>
        <source>gives you:</source>
        <translation>saat:</translation>
    </message>
    <message>
        <source>Last update</source>
        <translation>Päivitetty</translation>
    </message>
    <message>
        <source>CurrenciesDisclaimer</source>
        <translation>Käteiskurssit. Muutokset mahdollisia.</translation>
    </message>
    <message>
        <source>Warning old rates</source>
        <translation>Varoitus: vanhat kurssit</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Valuutta</translation>
    </message>
    <message>
        <source>Buy</source>
        <translation>Osta</translation>
    </message>
    <message>
        <source>Sell</source>
        <translation>Myy</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Summa</translation>
    </message>
    <message>
        <source>Reserve currency</source>
        <translation>Varaa valuuttaa</translation>
    </message>
    <message>
        <source>Reservations are not available yet</source>
        <translation>Varaukset eivät ole vielä käytettävissä</translation>
    </message>
    <message>
        <source>Loading data...</source>
        <translation>Ladataan tietoja...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Valmis</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Takaisin</translation>
    </message>
    <message>
        <source>Stores</source>
        <translation>Myymälät</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Sijainti</translation>
    </message>
    <message>
        <source>Make default store</source>
        <translation>Aseta omaksi myymäläksi</translation>
    </message>
    <message>
        <source>Directions</source>
        <translation>Reittiohjeet</translation>
    </message>
    <message>
        <source>News</source>
        <translation>Uutiset</translation>
    </message>
    <message>
        <source>PublishedDateString</source>
        <translation>Julkaistu</translation>
    </message>
    <message>
        <source>Read more</source>
        <translation>Lue lisää</translation>
    </message>
    <message>
        <source>Choose currency</source>
        <translation>Valitse valuutta</translation>
    </message>
    <message>
        <source>Could not update the rates. Rates from %1</source>
        <translation>Kursseja ei voitu päivittää. Kurssit ajalta %1</translation>
    </message>
    <message>
        <source>No rates available. Check your internet connection.</source>
        <translation>Kursseja ei ole saatavilla. Tarkista internetyhteys.</translation>
    </message>
    <message>
        <source>Tabs</source>
        <translation>Välilehdet</translation>
    </message>
</context>
</TS>
