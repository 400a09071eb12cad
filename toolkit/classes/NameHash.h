#pragma once

// Tables keyed by short names (property names, the short names of prepared
// objects): FNV-1a over the UTF-16 units, started from a value drawn once
// per process so that a file cannot bring its names to collide.  For names
// of a few characters it costs a few multiplications, where a seeded
// QHash string hash may cost more than the rest of the lookup.  Lookups
// take a QStringView as well as a QString.

#include <QRandomGenerator>
#include <QString>
#include <QStringView>

#include <cstddef>
#include <unordered_map>

struct TNameHash {
    using is_transparent = void;

    std::size_t operator()(QStringView name) const noexcept
    {
        static const quint64 start = 0xCBF29CE484222325ull ^ QRandomGenerator::system()->generate64();
        quint64 hash = start;
        for (const QChar c : name)
            hash = (hash ^ c.unicode()) * 0x100000001B3ull;
        return std::size_t(hash ^ (hash >> 32));
    }
};

struct TNameEqual {
    using is_transparent = void;

    bool operator()(QStringView a, QStringView b) const noexcept { return a == b; }
};

template <class T>
using TNameTable = std::unordered_map<QString, T, TNameHash, TNameEqual>;
