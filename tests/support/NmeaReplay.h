#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QNmeaPositionInfoSource>
#include <QString>

#include <memory>

namespace xr::test {

// NMEA sentences written to `device` become position reports of the source.
inline std::unique_ptr<QNmeaPositionInfoSource> nmeaSource(QBuffer *&device)
{
    auto source = std::make_unique<QNmeaPositionInfoSource>(QNmeaPositionInfoSource::RealTimeMode);
    device = new QBuffer(source.get());
    device->open(QIODevice::ReadWrite);
    source->setDevice(device);
    return source;
}

// One $GPRMC sentence at the given latitude (north) and longitude (east), in
// degrees, with its checksum.
inline QByteArray nmeaSentence(int second, double latitude, double longitude)
{
    const auto degreesMinutes = [](double value, int width) {
        const int degrees = int(value);
        return QStringLiteral("%1%2").arg(degrees, width, 10, QLatin1Char('0')).arg((value - degrees) * 60.0, 7, 'f', 4, QLatin1Char('0'));
    };
    const QByteArray body = QStringLiteral("GPRMC,1200%1.00,A,%2,N,%3,E,0.0,0.0,061226,,,A")
                                .arg(second, 2, 10, QLatin1Char('0'))
                                .arg(degreesMinutes(latitude, 2), degreesMinutes(longitude, 3))
                                .toLatin1();
    char checksum = 0;
    for (char c : body)
        checksum ^= c;
    return '$' + body + '*' + QByteArray::number(quint8(checksum), 16).toUpper().rightJustified(2, '0') + "\r\n";
}

// Appends sentences for the source to read, leaving its read position alone.
inline void deliver(QBuffer *device, const QByteArray &sentences)
{
    const qint64 readPosition = device->pos();
    device->seek(device->size());
    device->write(sentences);
    device->seek(readPosition);
}

} // namespace xr::test
