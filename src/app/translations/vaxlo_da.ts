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
    <message>
        <source>Cancel</source>
        <translation>Annuller</translation>
    </message>
    <message>
        <source>Choose store</source>
        <translation>Vælg butik</translation>
    </message>
    <message>
        <source>Choose default store</source>
        <translation>Vælg standardbutik</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Indstillinger</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Sprog</translation>
    </message>
    <message>
        <source>LanguageMarketHint</source>
        <translation>Sproget vælger det land, hvis kurser, butikker og nyheder du ser.</translation>
    </message>
    <message>
        <source>Default store</source>
        <translation>Standardbutik</translation>
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
        <translation>Efternavn</translation>
    </message>
    <message>
        <source>Personal ID</source>
        <translation>CPR-nummer</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Telefon</translation>
    </message>
    <message>
        <source>Store</source>
        <translation>Butik</translation>
    </message>
    <message>
        <source>Collection date</source>
        <translation>Afhentes den</translation>
    </message>
    <message>
        <source>PersonalIDSample</source>
        <translation>DDMMÅÅNNNN</translation>
    </message>
    <message>
        <source>PhoneSample</source>
        <translation>20123456</translation>
    </message>
    <message>
        <source>PersonalIDOptional</source>
        <translation>Behøves ikke</translation>
    </message>
    <message>
        <source>Missing fields</source>
        <translation>Manglende felter</translation>
    </message>
    <message>
        <source>One or many of the requried fields are missing or invalid.</source>
        <translation>Et eller flere obligatoriske felter mangler eller er ugyldige.</translation>
    </message>
    <message>
        <source>Pick payment method</source>
        <translation>Vælg betalingsmåde</translation>
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
        <translation>anden valuta</translation>
    </message>
    <message>
        <source>Reserving</source>
        <translation>Reserverer</translation>
    </message>
    <message>
        <source>Reservation Error</source>
        <translation>Reservationen mislykkedes</translation>
    </message>
    <message>
        <source>There was an error in the reservation process, please contact the store or try again later.</source>
        <translation>Der opstod en fejl under reservationen. Kontakt butikken eller prøv igen senere.</translation>
    </message>
    <message>
        <source>ReservationNoReason</source>
        <translation>ingen årsag angivet</translation>
    </message>
    <message>
        <source>Reservation Completed</source>
        <translation>Reservationen er gennemført</translation>
    </message>
    <message>
        <source>The reservation is now completed</source>
        <translation>Din reservation er nu gennemført</translation>
    </message>
    <message>
        <source>Close calendar</source>
        <translation>Luk kalenderen</translation>
    </message>
    <message>
        <source>Closes the map</source>
        <translation>Lukker kortet</translation>
    </message>
    <message>
        <source>Follows where you are on the map</source>
        <translation>Viser, hvor du er, på kortet</translation>
    </message>
    <message>
        <source>Opens driving directions to the store</source>
        <translation>Åbner rutevejledning til butikken</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Kort</translation>
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
        <translation>Næste måned</translation>
    </message>
</context>
</TS>
