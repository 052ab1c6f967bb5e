#pragma once

#include <QValidator>

// The amount field's keyboard on the desktop: digits and one decimal mark, at
// most 12 characters. An edit that breaks the rule, a paste included, is
// refused whole rather than cut to fit.
class XRDecimalPadValidator : public QValidator
{
public:
    using QValidator::QValidator;

    State validate(QString &input, int &pos) const override;
};
