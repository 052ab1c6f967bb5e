#include "XRLog.h"

// Warnings and errors only unless QT_LOGGING_RULES turns more on: a normal run
// keeps the terminal quiet.

Q_LOGGING_CATEGORY(lcApp, "vaxlo.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcData, "vaxlo.data", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNet, "vaxlo.net", QtWarningMsg)
Q_LOGGING_CATEGORY(lcXML, "vaxlo.xml", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRates, "vaxlo.rates", QtWarningMsg)
Q_LOGGING_CATEGORY(lcStores, "vaxlo.stores", QtWarningMsg)
Q_LOGGING_CATEGORY(lcLocation, "vaxlo.location", QtWarningMsg)
Q_LOGGING_CATEGORY(lcNews, "vaxlo.news", QtWarningMsg)
Q_LOGGING_CATEGORY(lcReservation, "vaxlo.reservation", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUI, "vaxlo.ui", QtWarningMsg)
