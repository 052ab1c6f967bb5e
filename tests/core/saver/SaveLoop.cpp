// Saves both data files through the application delegate, generation after
// generation, printing each finished generation, until it is killed.

#include "SaveGenerations.h"
#include "XRAppDelegate.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    if (argc != 2)
        return 2;
    XRAppDelegate appDelegate{XRConfiguration()};
    appDelegate.dataFiles() = XRDataFiles(QString::fromLocal8Bit(argv[1]));
    for (int n = 0; n < 100000; ++n) { // bounded, in case nobody kills it
        appDelegate.currencyDict() = appDelegate.settingsDict() = xr::test::savedGeneration(n);
        appDelegate.storeCurrency();
        appDelegate.storeSettings();
        std::printf("%d\n", n);
        std::fflush(stdout);
    }
    return 0;
}
