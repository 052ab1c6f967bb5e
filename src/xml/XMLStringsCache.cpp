#include "XMLStringsCache.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace xr {

namespace {

// Blocks grow from small, for the many short replies, to a cap, for large documents.
constexpr size_t firstBlockSize = 512;
constexpr size_t largestBlockSize = 64 * 1024;
constexpr int firstSlotBits = 4;

constexpr std::array<size_t, 9> powersOf33 = [] {
    std::array<size_t, 9> powers{1};
    for (size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 33;
    return powers;
}();

size_t signedByte(char byte)
{
    return static_cast<size_t>(static_cast<signed char>(byte));
}

} // namespace

QString XMLStringsCache::string(const xmlChar *bytes)
{
    const char *text = reinterpret_cast<const char *>(bytes);
    const size_t length = std::strlen(text);
    const size_t textHash = hash(text, length);
    // Keep the slots at most half full.
    if (2 * (m_entries.size() + 1) > m_slots.size())
        growSlots();
    const size_t mask = m_slots.size() - 1;
    size_t slot = firstSlot(textHash);
    for (; m_slots[slot]; slot = (slot + 1) & mask) {
        const Entry &entry = m_entries[m_slots[slot] - 1];
        if (entry.hash == textHash && entry.length == length && std::memcmp(entry.bytes, text, length) == 0)
            return entry.string;
    }
    m_entries.push_back({textHash, keep(text, length), length, QString::fromUtf8(text, qsizetype(length))});
    m_slots[slot] = uint32_t(m_entries.size());
    return m_entries.back().string;
}

size_t XMLStringsCache::hash(const xmlChar *bytes)
{
    const char *text = reinterpret_cast<const char *>(bytes);
    return hash(text, std::strlen(text));
}

size_t XMLStringsCache::hash(const char *bytes, size_t length)
{
    // Eight bytes per step, which gives the value of the byte-by-byte
    // h = h * 33 + byte without its long chain of dependent steps.
    size_t hash = 5381;
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        const char *b = bytes + i;
        hash = hash * powersOf33[8] + signedByte(b[0]) * powersOf33[7] + signedByte(b[1]) * powersOf33[6]
               + signedByte(b[2]) * powersOf33[5] + signedByte(b[3]) * powersOf33[4]
               + signedByte(b[4]) * powersOf33[3] + signedByte(b[5]) * powersOf33[2]
               + signedByte(b[6]) * powersOf33[1] + signedByte(b[7]);
    }
    for (; i < length; ++i)
        hash = hash * 33 + signedByte(bytes[i]);
    return hash;
}

size_t XMLStringsCache::firstSlot(size_t hash) const
{
    // djb2's low bits follow the last bytes closely: spread them by Fibonacci hashing.
    return size_t((uint64_t(hash) * 0x9E3779B97F4A7C15ull) >> (64 - m_slotBits));
}

void XMLStringsCache::growSlots()
{
    m_slotBits = m_slotBits ? m_slotBits + 1 : firstSlotBits;
    m_slots.assign(size_t(1) << m_slotBits, 0);
    const size_t mask = m_slots.size() - 1;
    for (size_t index = 0; index < m_entries.size(); ++index) {
        size_t slot = firstSlot(m_entries[index].hash);
        while (m_slots[slot])
            slot = (slot + 1) & mask;
        m_slots[slot] = uint32_t(index + 1);
    }
}

const char *XMLStringsCache::keep(const char *bytes, size_t length)
{
    const size_t size = length + 1;
    if (size > m_spare) {
        m_blockSize = m_blockSize ? std::min(m_blockSize * 2, largestBlockSize) : firstBlockSize;
        const size_t newBlock = std::max(size, m_blockSize);
        m_blocks.emplace_back(new char[newBlock]);
        m_next = m_blocks.back().get();
        m_spare = newBlock;
    }
    char *copy = m_next;
    std::memcpy(copy, bytes, size);
    m_next += size;
    m_spare -= size;
    return copy;
}

} // namespace xr
