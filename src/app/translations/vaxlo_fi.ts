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
    <message>
        <source>Cancel</source>
        <translation>Peruuta</translation>
    </message>
    <message>
        <source>Choose store</source>
        <translation>Valitse myymälä</translation>
    </message>
    <message>
        <source>Choose default store</source>
        <translation>Valitse oletusmyymälä</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Asetukset</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Kieli</translation>
    </message>
    <message>
        <source>LanguageMarketHint</source>
        <translation>Kieli valitsee maan, jonka kurssit, myymälät ja uutiset näet.</translation>
    </message>
    <message>
        <source>Default store</source>
        <translation>Oletusmyymälä</translation>
    </message>
    <message>
        <source>Reserve</source>
        <translation>Varaa</translation>
    </message>
    <message>
        <source>First name</source>
        <translation>Etunimi</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Sukunimi</translation>
    </message>
    <message>
        <source>Personal ID</source>
        <translation>Henkilötunnus</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Puhelin</translation>
    </message>
    <message>
        <source>Store</source>
        <translation>Myymälä</translation>
    </message>
    <message>
        <source>Collection date</source>
        <translation>Noutopäivä</translation>
    </message>
    <message>
        <source>PersonalIDSample</source>
        <translation>PPKKVVNNNN</translation>
    </message>
    <message>
        <source>PhoneSample</source>
        <translation>0401234567</translation>
    </message>
    <message>
        <source>PersonalIDOptional</source>
        <translation>Ei tarvita</translation>
    </message>
    <message>
        <source>Missing fields</source>
        <translation>Puuttuvia tietoja</translation>
    </message>
    <message>
        <source>One or many of the requried fields are missing or invalid.</source>
        <translation>Yksi tai useampi pakollinen tieto puuttuu tai on virheellinen.</translation>
    </message>
    <message>
        <source>Pick payment method</source>
        <translation>Valitse maksutapa</translation>
    </message>
    <message>
        <source>Credit Card</source>
        <translation>Kortti</translation>
    </message>
    <message>
        <source>Cash (%@)</source>
        <translation>Käteinen (%@)</translation>
    </message>
    <message>
        <source>other currency</source>
        <translation>muu valuutta</translation>
    </message>
    <message>
        <source>Reserving</source>
        <translation>Varataan</translation>
    </message>
    <message>
        <source>Reservation Error</source>
        <translation>Varaus epäonnistui</translation>
    </message>
    <message>
        <source>There was an error in the reservation process, please contact the store or try again later.</source>
        <translation>Varauksessa tapahtui virhe. Ota yhteyttä myymälään tai yritä myöhemmin uudelleen.</translation>
    </message>
    <message>
        <source>ReservationNoReason</source>
        <translation>syytä ei kerrottu</translation>
    </message>
    <message>
        <source>Reservation Completed</source>
        <translation>Varaus on tehty</translation>
    </message>
    <message>
        <source>The reservation is now completed</source>
        <translation>Varauksesi on nyt tehty</translation>
    </message>
    <message>
        <source>Close calendar</source>
        <translation>Sulje kalenteri</translation>
    </message>
    <message>
        <source>Closes the map</source>
        <translation>Sulkee kartan</translation>
    </message>
    <message>
        <source>Follows where you are on the map</source>
        <translation>Näyttää sijaintisi kartalla</translation>
    </message>
    <message>
        <source>Opens driving directions to the store</source>
        <translation>Avaa ajo-ohjeet myymälään</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Kartta</translation>
    </message>
    <message>
        <source>Swedish kronor</source>
        <translation>Ruotsin kruunua</translation>
    </message>
    <message>
        <source>Danish kroner</source>
        <translation>Tanskan kruunua</translation>
    </message>
    <message>
        <source>Norwegian kroner</source>
        <translation>Norjan kruunua</translation>
    </message>
    <message>
        <source>euro</source>
        <translation>euroa</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Edellinen kuukausi</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Seuraava kuukausi</translation>
    </message>
</context>
</TS>
