#include "XRLog.h"

Q_LOGGING_CATEGORY(lcApp, "vaxlo.app")
Q_LOGGING_CATEGORY(lcData, "vaxlo.data")
Q_LOGGING_CATEGORY(lcNet, "vaxlo.net")
Q_LOGGING_CATEGORY(lcXML, "vaxlo.xml")
Q_LOGGING_CATEGORY(lcRates, "vaxlo.rates")
Q_LOGGING_CATEGORY(lcStores, "vaxlo.stores")
Q_LOGGING_CATEGORY(lcLocation, "vaxlo.location")
Q_LOGGING_CATEGORY(lcNews, "vaxlo.news")
Q_LOGGING_CATEGORY(lcReservation, "vaxlo.reservation")
Q_LOGGING_CATEGORY(lcUI, "vaxlo.ui")
