#pragma once
// The random generator of every operation: xoshiro256** seeded through splitmix64.
//
// Why a seed reproduces a run on every platform: both algorithms are defined purely by 64-bit
// unsigned additions, multiplications, xors, shifts and rotations, which C++ specifies exactly
// (wrap-around modulo 2^64) whatever the compiler, standard library or CPU. Nothing here goes
// through floating point or through a library distribution, whose results the standard leaves to
// each library. Ranges come from Below (multiply-shift): the high 64 bits of a 128-bit product,
// also exact integer arithmetic.
#include <cstdint>
#include <limits>

namespace lumora {

class Rng {
 public:
  using result_type = uint64_t;

  explicit Rng(uint64_t seed = 20261208) { this->seed(seed); }

  // The four state words are four successive splitmix64 outputs from `seed` (never all zero).
  void seed(uint64_t seed) {
    for (uint64_t& w : s_) {
      seed += 0x9E3779B97F4A7C15ull;
      uint64_t z = seed;
      z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
      z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
      w = z ^ (z >> 31);
    }
  }

  static constexpr result_type min() { return 0; }
  static constexpr result_type max() { return std::numeric_limits<uint64_t>::max(); }

  result_type operator()() {
    const uint64_t result = Rotl(s_[1] * 5, 7) * 9;
    const uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = Rotl(s_[3], 45);
    return result;
  }

  // floor(U * n) for U uniform in [0, 1) with 64-bit resolution: a value in [0, n) (0 when n is 0).
  uint64_t Below(uint64_t n) { return MulHigh((*this)(), n); }

  // Uniform in [0, 1) from the top 53 bits.
  double Uniform() { return static_cast<double>((*this)() >> 11) * 0x1.0p-53; }

  // The high 64 bits of the 128-bit product a * b.
  static uint64_t MulHigh(uint64_t a, uint64_t b) {
#if defined(__SIZEOF_INT128__)
    return static_cast<uint64_t>((static_cast<unsigned __int128>(a) * b) >> 64);
#else
    const uint64_t aLo = a & 0xFFFFFFFFu, aHi = a >> 32, bLo = b & 0xFFFFFFFFu, bHi = b >> 32;
    const uint64_t lolo = aLo * bLo, hilo = aHi * bLo, lohi = aLo * bHi, hihi = aHi * bHi;
    const uint64_t mid = (lolo >> 32) + (hilo & 0xFFFFFFFFu) + lohi;
    return hihi + (hilo >> 32) + (mid >> 32);
#endif
  }

 private:
  static uint64_t Rotl(uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

  uint64_t s_[4];
};

// floor(r * n) for a series of small bounds n, several from one output of the generator: an
// output U serves up to three bounds n1, n2, n3 of at most 1024 as the mixed-radix digits of
// floor(U * n1 * n2 * n3) (each next value is taken from the fraction the previous one left,
// U * n1 - floor(U * n1)). A value's chance departs from 1/n by at most 2^30 / 2^64 of itself
// (5.8e-11); a larger bound gets an output of its own.
class RangeDraws {
 public:
  explicit RangeDraws(Rng& rng) : rng_(rng) {}

  uint64_t Below(uint64_t n) {
    if (n > kSmall || left_ == 0) {
      x_ = rng_();
      left_ = n > kSmall ? 0 : kPerOutput;
    }
    if (left_ > 0) --left_;
    const uint64_t value = Rng::MulHigh(x_, n);
    x_ *= n;  // the fraction left, modulo 2^64
    return value;
  }

 private:
  static constexpr uint64_t kSmall = 1024;
  static constexpr int kPerOutput = 3;
  Rng& rng_;
  uint64_t x_ = 0;
  int left_ = 0;  // bounds this output still serves
};

}  // namespace lumora
