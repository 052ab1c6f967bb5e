#pragma once

#include <QLoggingCategory>

// One category per subsystem, each showing warnings and errors by default, so
// that a user can turn more on with QT_LOGGING_RULES (for example
// "vaxlo.stores.info=true", or "vaxlo.*=true" for everything).
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcData)
Q_DECLARE_LOGGING_CATEGORY(lcNet)
Q_DECLARE_LOGGING_CATEGORY(lcXML)
Q_DECLARE_LOGGING_CATEGORY(lcRates)
Q_DECLARE_LOGGING_CATEGORY(lcStores)
Q_DECLARE_LOGGING_CATEGORY(lcLocation)
Q_DECLARE_LOGGING_CATEGORY(lcNews)
Q_DECLARE_LOGGING_CATEGORY(lcReservation)
Q_DECLARE_LOGGING_CATEGORY(lcUI)
