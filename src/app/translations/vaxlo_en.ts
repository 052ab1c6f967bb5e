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
</context>
</TS>
