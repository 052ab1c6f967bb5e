#pragma once

#include <QByteArrayView>

namespace xr {

// No document we read carries more than a handful of attributes on one element.
constexpr int maximumAttributesPerElement = 64;

// Whether a start tag in the document carries more attributes than the limit,
// told by a scan of the markup alone. libxml2 compares each attribute with all
// earlier ones of its element before any callback runs, so an element with a
// hundred thousand attributes costs minutes: such a document is refused before
// it is parsed. Zero bytes are skipped, so UTF-16 and UTF-32 markup counts too.
bool hasElementWithTooManyAttributes(QByteArrayView document, int limit = maximumAttributesPerElement);

} // namespace xr
