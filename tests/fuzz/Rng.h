// Deterministic random source for the fuzz tests: SplitMix64, so a failing input is reproduced by
// its seed on any compiler and standard library.
#pragma once

#include <QChar>
#include <QString>

#include <cstdint>

#ifndef LUMETRA_FUZZ_SCALE
#define LUMETRA_FUZZ_SCALE 1
#endif

namespace lumetra::fuzz {

// Number of inputs a fuzz test tries: `full` in the normal build, a share of it where each input
// costs many times more (the sanitizer build divides by LUMETRA_FUZZ_SCALE).
constexpr int budget(int full)
{
    return full / LUMETRA_FUZZ_SCALE;
}

class Rng {
public:
    explicit Rng(std::uint64_t seed)
        : state_(seed)
    {
    }

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, n); n > 0.
    int below(int n) { return int(next() % std::uint64_t(n)); }
    bool chance(int percent) { return below(100) < percent; }

    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) { return items[below(int(N))]; }

    QChar pickChar(const QString& alphabet) { return alphabet.at(below(int(alphabet.size()))); }

    // Any UTF-16 unit, lone surrogates and NUL included.
    QChar anyUnit() { return QChar(char16_t(next() & 0xFFFF)); }

private:
    std::uint64_t state_;
};

} // namespace lumetra::fuzz
