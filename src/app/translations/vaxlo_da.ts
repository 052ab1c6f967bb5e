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
</context>
</TS>
