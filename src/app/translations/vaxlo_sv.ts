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
    <message>
        <source>Cancel</source>
        <translation>Avbryt</translation>
    </message>
    <message>
        <source>Choose store</source>
        <translation>Välj butik</translation>
    </message>
    <message>
        <source>Choose default store</source>
        <translation>Välj förvald butik</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Inställningar</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Språk</translation>
    </message>
    <message>
        <source>LanguageMarketHint</source>
        <translation>Språket väljer landet vars kurser, butiker och nyheter du ser.</translation>
    </message>
    <message>
        <source>Default store</source>
        <translation>Förvald butik</translation>
    </message>
    <message>
        <source>Reserve</source>
        <translation>Reservera</translation>
    </message>
    <message>
        <source>First name</source>
        <translation>Förnamn</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Efternamn</translation>
    </message>
    <message>
        <source>Personal ID</source>
        <translation>Personnummer</translation>
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
        <translation>Hämtas den</translation>
    </message>
    <message>
        <source>PersonalIDSample</source>
        <translation>ÅÅÅÅMMDDNNNN</translation>
    </message>
    <message>
        <source>PhoneSample</source>
        <translation>0701234567</translation>
    </message>
    <message>
        <source>PersonalIDOptional</source>
        <translation>Behövs inte</translation>
    </message>
    <message>
        <source>Missing fields</source>
        <translation>Uppgifter saknas</translation>
    </message>
    <message>
        <source>One or many of the requried fields are missing or invalid.</source>
        <translation>En eller flera obligatoriska uppgifter saknas eller är felaktiga.</translation>
    </message>
    <message>
        <source>Pick payment method</source>
        <translation>Välj betalsätt</translation>
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
        <translation>annan valuta</translation>
    </message>
    <message>
        <source>Reserving</source>
        <translation>Reserverar</translation>
    </message>
    <message>
        <source>Reservation Error</source>
        <translation>Reservationen misslyckades</translation>
    </message>
    <message>
        <source>There was an error in the reservation process, please contact the store or try again later.</source>
        <translation>Något gick fel med reservationen. Kontakta butiken eller försök igen senare.</translation>
    </message>
    <message>
        <source>ReservationNoReason</source>
        <translation>ingen orsak angiven</translation>
    </message>
    <message>
        <source>Reservation Completed</source>
        <translation>Reservationen är klar</translation>
    </message>
    <message>
        <source>The reservation is now completed</source>
        <translation>Din reservation är nu klar</translation>
    </message>
    <message>
        <source>Close calendar</source>
        <translation>Stäng kalendern</translation>
    </message>
    <message>
        <source>Closes the map</source>
        <translation>Stänger kartan</translation>
    </message>
    <message>
        <source>Follows where you are on the map</source>
        <translation>Visar var du är på kartan</translation>
    </message>
    <message>
        <source>Opens driving directions to the store</source>
        <translation>Öppnar vägbeskrivning till butiken</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Karta</translation>
    </message>
    <message>
        <source>Swedish kronor</source>
        <translation>svenska kronor</translation>
    </message>
    <message>
        <source>Danish kroner</source>
        <translation>danska kronor</translation>
    </message>
    <message>
        <source>Norwegian kroner</source>
        <translation>norska kronor</translation>
    </message>
    <message>
        <source>euro</source>
        <translation>euro</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Föregående månad</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Nästa månad</translation>
    </message>
</context>
</TS>
