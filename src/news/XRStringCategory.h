#pragma once

#include <QString>

// Text helpers for what the news feed delivers.
class XRStringCategory
{
public:
    // The text without its very last character when that is a line feed; a
    // line feed followed by spaces or tabs is kept with them.
    static QString stringWithoutNewlineSuffix(const QString &string);
};
