#pragma once

#include <QtGlobal>

namespace xr::demo {

// A small generator whose sequence is the same on every machine and library
// version (the standard distributions are not), so generated data is stable.
class SeededRandom
{
public:
    explicit SeededRandom(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }

    // 0 <= result < bound
    int below(int bound) { return int(next() % quint64(bound)); }

    // lower <= result < upper
    double between(double lower, double upper)
    {
        return lower + (upper - lower) * double(next() >> 11) / double(1ULL << 53);
    }

private:
    quint64 m_state;
};

} // namespace xr::demo
