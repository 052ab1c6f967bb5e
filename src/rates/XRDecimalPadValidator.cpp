#include "XRDecimalPadValidator.h"

#include "XRDecimalText.h"

QValidator::State XRDecimalPadValidator::validate(QString &input, int &) const
{
    return xr::isDecimalPadText(input) ? Acceptable : Invalid;
}
