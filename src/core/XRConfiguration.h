#pragma once

#include <QString>

#include <array>
#include <optional>

// Where the application finds the retailer: read by the launcher from one file
// and handed to the logic as a value.
struct XRConfiguration
{
    // "host" or "host:port" of each market's web host, by market (Sweden,
    // Denmark, Norway, Finland), reached over plain HTTP.
    std::array<QString, 4> marketHosts;
    // "host" or "host:port" of the reservation service, reached over HTTPS.
    QString reservationHost;
    // A PEM file of certificate authorities the reservation host may chain to,
    // besides the system's trust store; empty for none.
    QString reservationCAFile;
    // Raster map tiles, with {z}, {x} and {y} in place of the tile's coordinates; empty for none.
    QString tileURLTemplate;
    // "system" for the platform's position source, or "nmea:" and the path of a replay file.
    QString locationSource = QStringLiteral("system");
    // The host of the maps service that gives driving directions.
    QString directionsHost;

    // The configuration file in the user's configuration folder.
    static QString standardFilePath();
    // Reads the file; nothing, with the reason in *error, when it cannot be read
    // or lacks a market host.
    static std::optional<XRConfiguration> fromFile(const QString &path, QString *error = nullptr);
};
