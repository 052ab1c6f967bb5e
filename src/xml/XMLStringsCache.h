#pragma once

#include <QString>

#include <libxml/xmlstring.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace xr {

// A document's table of the texts it has handed out, keyed by their UTF-8
// bytes, so that the same text read twice is the same implicitly shared QString.
class XMLStringsCache
{
public:
    XMLStringsCache() = default;
    XMLStringsCache(const XMLStringsCache &) = delete;
    XMLStringsCache &operator=(const XMLStringsCache &) = delete;

    // The string for these bytes, made and kept on first sight.
    QString string(const xmlChar *bytes);

    // djb2 over the bytes taken as signed 8-bit values.
    static size_t hash(const xmlChar *bytes);

private:
    struct Entry
    {
        size_t hash;
        const char *bytes;
        size_t length;
        QString string;
    };

    static size_t hash(const char *bytes, size_t length);
    void growSlots();
    size_t firstSlot(size_t hash) const;
    // A copy of the bytes that lives as long as the cache.
    const char *keep(const char *bytes, size_t length);

    // Open addressing over the entries: a slot holds an entry's index plus
    // one, or zero when free. Growing rebuilds only the slots; the entries
    // stay where they are.
    std::deque<Entry> m_entries;
    std::vector<uint32_t> m_slots;
    int m_slotBits = 0;
    // The keys' bytes, packed into blocks to spare a heap allocation per text.
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_next = nullptr;
    size_t m_spare = 0;
    size_t m_blockSize = 0;
};

} // namespace xr
