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
        <source>Reservations are not available yet</source>
        <translation>Reservations are not available yet</translation>
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
</context>
</TS>
