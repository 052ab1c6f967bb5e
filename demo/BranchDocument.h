#pragma once

#include "Market.h"

#include <QByteArray>
#include <QString>

namespace xr::demo {

// The market's branch document ("/branchesxml.aspx?datetest=1") and its
// entity tag. The bytes depend only on the generated stores, so the tag
// changes only when the list does.
class BranchDocument
{
public:
    explicit BranchDocument(const Market &market);

    const QByteArray &bytes() const { return m_bytes; }
    // A quoted strong entity tag: a hash of the bytes.
    const QByteArray &entityTag() const { return m_entityTag; }
    // Whether an "If-None-Match" header names this document's tag.
    bool matches(const QByteArray &ifNoneMatch) const;

private:
    QByteArray m_bytes;
    QByteArray m_entityTag;
};

} // namespace xr::demo
