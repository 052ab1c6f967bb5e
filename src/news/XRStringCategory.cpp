#include "XRStringCategory.h"

QString XRStringCategory::stringWithoutNewlineSuffix(const QString &string)
{
    if (string.endsWith(QLatin1Char('\n')))
        return string.chopped(1);
    return string;
}
