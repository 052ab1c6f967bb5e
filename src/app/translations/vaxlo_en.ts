<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_GB">
<context>
    <name>XR</name>
    <message>
        <source>XRNetworkAlertTitle</source>
        <translation>No connection</translation>
    </message>
    <message>
        <source>XRNetworkAlertMessage</source>
        <translation>The retailer's service could not be reached. Check your internet connection and try again.</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>sold for:</source>
        <translation>sold for:</translation>
    </message>
    <message>
        <source>gives you:</source>
        <translation>gives you:</translation>
    </message>
    <message>
        <source>Last update</source>
        <translation>Last update</translation>
    </message>
    <message>
        <source>CurrenciesDisclaimer</source>
        <translation>Cash rates. Subject to change.</translation>
    </message>
    <message>
        <source>Warning old rates</source>
        <translation>Warning: old rates</translation>
    </message>
    <message>
        <source>Currency</source>
        <translation>Currency</translation>
    </message>
    <message>
        <source>Buy</source>
        <translation>Buy</translation>
    </message>
    <message>
        <source>Sell</source>
        <translation>Sell</translation>
    </message>
    <message>
        <source>Amount</source>
        <translation>Amount</translation>
    </message>
    <message>
        <source>Reserve currency</source>
        <translation>Reserve currency</translation>
    </message>
    <message>
        <source>Loading data...</source>
        <translation>Loading data...</translation>
    </message>
    <message>
        <source>Done</source>
        <translation>Done</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Stores</source>
        <translation>Stores</translation>
    </message>
    <message>
        <source>Position</source>
        <translation>Position</translation>
    </message>
    <message>
        <source>Make default store</source>
        <translation>Make this my store</translation>
    </message>
    <message>
        <source>Directions</source>
        <translation>Directions</translation>
    </message>
    <message>
        <source>News</source>
        <translation>News</translation>
    </message>
    <message>
        <source>PublishedDateString</source>
        <translation>Published</translation>
    </message>
    <message>
        <source>Read more</source>
        <translation>Read more</translation>
    </message>
    <message>
        <source>Choose currency</source>
        <translation>Choose currency</translation>
    </message>
    <message>
        <source>Could not update the rates. Rates from %1</source>
        <translation>Could not update the rates. Rates from %1</translation>
    </message>
    <message>
        <source>No rates available. Check your internet connection.</source>
        <translation>No rates available. Check your internet connection.</translation>
    </message>
    <message>
        <source>Tabs</source>
        <translation>Tabs</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Choose store</source>
        <translation>Choose store</translation>
    </message>
    <message>
        <source>Choose default store</source>
        <translation>Choose default store</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>LanguageMarketHint</source>
        <translation>The language chooses the country whose rates, stores and news you see.</translation>
    </message>
    <message>
        <source>Default store</source>
        <translation>Default store</translation>
    </message>
    <message>
        <source>Reserve</source>
        <translation>Reserve</translation>
    </message>
    <message>
        <source>First name</source>
        <translation>First name</translation>
    </message>
    <message>
        <source>Last name</source>
        <translation>Last name</translation>
    </message>
    <message>
        <source>Personal ID</source>
        <translation>Personal ID</translation>
    </message>
    <message>
        <source>Phone</source>
        <translation>Phone</translation>
    </message>
    <message>
        <source>Store</source>
        <translation>Store</translation>
    </message>
    <message>
        <source>Collection date</source>
        <translation>Collection date</translation>
    </message>
    <message>
        <source>PersonalIDSample</source>
        <translation>YYYYMMDDNNNN</translation>
    </message>
    <message>
        <source>PhoneSample</source>
        <translation>0701234567</translation>
    </message>
    <message>
        <source>PersonalIDOptional</source>
        <translation>Not needed</translation>
    </message>
    <message>
        <source>Missing fields</source>
        <translation>Missing fields</translation>
    </message>
    <message>
        <source>One or many of the requried fields are missing or invalid.</source>
        <translation>One or more of the required fields are missing or invalid.</translation>
    </message>
    <message>
        <source>Pick payment method</source>
        <translation>Pick payment method</translation>
    </message>
    <message>
        <source>Credit Card</source>
        <translation>Credit Card</translation>
    </message>
    <message>
        <source>Cash (%@)</source>
        <translation>Cash (%@)</translation>
    </message>
    <message>
        <source>other currency</source>
        <translation>other currency</translation>
    </message>
    <message>
        <source>Reserving</source>
        <translation>Reserving</translation>
    </message>
    <message>
        <source>Reservation Error</source>
        <translation>Reservation Error</translation>
    </message>
    <message>
        <source>There was an error in the reservation process, please contact the store or try again later.</source>
        <translation>There was an error in the reservation process, please contact the store or try again later.</translation>
    </message>
    <message>
        <source>ReservationNoReason</source>
        <translation>no reason given</translation>
    </message>
    <message>
        <source>Reservation Completed</source>
        <translation>Reservation Completed</translation>
    </message>
    <message>
        <source>The reservation is now completed</source>
        <translation>The reservation is now completed</translation>
    </message>
    <message>
        <source>Close calendar</source>
        <translation>Close calendar</translation>
    </message>
    <message>
        <source>Closes the map</source>
        <translation>Closes the map</translation>
    </message>
    <message>
        <source>Follows where you are on the map</source>
        <translation>Follows where you are on the map</translation>
    </message>
    <message>
        <source>Opens driving directions to the store</source>
        <translation>Opens driving directions to the store</translation>
    </message>
    <message>
        <source>Map</source>
        <translation>Map</translation>
    </message>
    <message>
        <source>Swedish kronor</source>
        <translation>Swedish kronor</translation>
    </message>
    <message>
        <source>Danish kroner</source>
        <translation>Danish kroner</translation>
    </message>
    <message>
        <source>Norwegian kroner</source>
        <translation>Norwegian kroner</translation>
    </message>
    <message>
        <source>euro</source>
        <translation>euro</translation>
    </message>
    <message>
        <source>Previous month</source>
        <translation>Previous month</translation>
    </message>
    <message>
        <source>Next month</source>
        <translation>Next month</translation>
    </message>
</context>
</TS>
