#pragma once

#include <QString>

// The names of the notifications the application posts and observes.
inline const QString XRCurrenciesDidEndLoadingNotification = QStringLiteral("XRCurrenciesDidEndLoadingNotification");
inline const QString XRCurrenciesDidEndParsingNotification = QStringLiteral("XRCurrenciesDidEndParsingNotification");
inline const QString XRCurrenciesDidFailLoadingNotification = QStringLiteral("XRCurrenciesDidFailLoadingNotification");
inline const QString XRStoreLocatorListDidEndLoadingNotification = QStringLiteral("XRStoreLocatorListDidEndLoadingNotification");
inline const QString XRStoresDidEndParsingNotification = QStringLiteral("XRStoresDidEndParsingNotification");
inline const QString XRConnectionDidCancelNotification = QStringLiteral("XRConnectionDidCancelNotification");
inline const QString XRLocationDidUpdateNotification = QStringLiteral("XRLocationDidUpdateNotification");
inline const QString XRDefaultStoreSelected = QStringLiteral("XRDefaultStoreSelected");
inline const QString XRLanguageChangedNotification = QStringLiteral("XRLanguageChangedNotification");
inline const QString UIApplicationDidBecomeActiveNotification = QStringLiteral("UIApplicationDidBecomeActiveNotification");
