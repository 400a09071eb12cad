#pragma once

// A table of 65,536 values filled on demand and read from any thread: the
// glyph (with its advance) of each character of the Basic Multilingual
// Plane, or the advance of each glyph, of one face.  Blocks of 256 entries
// are allocated on first use; an entry not yet known holds Unknown.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

template <class T, T Unknown>
class TLazyGlyphTable
{
public:
    static constexpr std::uint32_t Size = 0x10000;

    TLazyGlyphTable() = default;
    TLazyGlyphTable(const TLazyGlyphTable &) = delete;
    TLazyGlyphTable &operator=(const TLazyGlyphTable &) = delete;
    ~TLazyGlyphTable()
    {
        for (auto &block : m_blocks)
            delete[] block.load(std::memory_order_relaxed);
    }

    // The value at index (below Size), computed by compute(index) the first
    // time.
    template <class Compute>
    T Get(std::uint32_t index, Compute compute)
    {
        std::atomic<T> &entry = block(index >> 8)[index & 0xFF];
        T value = entry.load(std::memory_order_relaxed);
        if (value == Unknown) {
            value = compute(index);
            entry.store(value, std::memory_order_relaxed);
        }
        return value;
    }

private:
    std::atomic<T> *block(std::uint32_t number)
    {
        std::atomic<T> *found = m_blocks[number].load(std::memory_order_acquire);
        if (found)
            return found;
        auto fresh = std::make_unique<std::atomic<T>[]>(256);
        for (int i = 0; i < 256; ++i)
            fresh[i].store(Unknown, std::memory_order_relaxed);
        if (m_blocks[number].compare_exchange_strong(found, fresh.get(), std::memory_order_acq_rel))
            return fresh.release();
        return found;
    }

    std::array<std::atomic<std::atomic<T> *>, Size / 256> m_blocks{};
};
