// Finds, a block of units at a time, the UTF-16 units that belong to a small
// fixed set. The walks over text use it to skip the long stretches that hold
// nothing for them to do: in Japanese text nearly every block is clean, so
// the test of a clean block is what sets their speed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#if defined(__SSE2__)
#include <immintrin.h>
// Marks the functions that run the AVX2 screen.
#define TU_TARGET_AVX2 __attribute__((target("avx2")))
#else
#define TU_TARGET_AVX2
#endif

namespace textunits::detail {

// Inclusive range of units.
struct UnitRange {
  char16_t lo;
  char16_t hi;
};

inline constexpr UnitRange kSurrogateRange = {0xD800, 0xDFFF};

[[nodiscard]] constexpr bool InRange(UnitRange r, char16_t u) {
  return static_cast<char16_t>(u - r.lo) <= static_cast<char16_t>(r.hi - r.lo);
}

inline constexpr std::size_t kMaxSingles = 16;

// Up to 16 single units and a few ranges. The singles are found with one
// table lookup rather than one compare each: a multiplier, chosen when the
// set is made, sends every single to a slot of its own among 16, so a unit is
// a single exactly when it equals what its slot holds.
template <std::size_t NR>
struct UnitSet {
  std::array<char16_t, kMaxSingles> singles{};
  std::size_t singleCount = 0;
  std::array<UnitRange, NR> ranges{};
  std::uint32_t multiplier = 0;  // 0 when no multiplier separates the singles
  std::array<char16_t, 16> slots{};

  [[nodiscard]] constexpr unsigned Slot(char16_t u) const {
    return ((static_cast<std::uint32_t>(u) * multiplier) & 0xFFFF) >> 12;
  }
  [[nodiscard]] constexpr bool Contains(char16_t u) const {
    bool hit = singleCount > 0 && slots[Slot(u)] == u;
    for (const UnitRange& r : ranges) hit |= InRange(r, u);
    return hit;
  }
};

template <std::size_t NS, std::size_t NR = 0>
[[nodiscard]] constexpr UnitSet<NR> MakeUnitSet(const char16_t (&singles)[NS],
                                                std::array<UnitRange, NR> ranges = {}) {
  static_assert(NS <= kMaxSingles);
  UnitSet<NR> set;
  for (std::size_t k = 0; k < NS; ++k) set.singles[k] = singles[k];
  set.singleCount = NS;
  set.ranges = ranges;
  for (std::uint32_t m = 1; m < 0x10000; m += 2) {
    set.multiplier = m;
    std::array<bool, 16> used{};
    bool separated = true;
    for (const char16_t u : singles) {
      const unsigned slot = set.Slot(u);
      if (used[slot] && set.slots[slot] != u) {
        separated = false;
        break;
      }
      used[slot] = true;
      set.slots[slot] = u;
    }
    if (!separated) continue;
    // An empty slot holds a single that hashes elsewhere, so nothing matches.
    for (std::size_t slot = 0; slot < 16; ++slot) {
      if (!used[slot]) set.slots[slot] = singles[0];
    }
    return set;
  }
  set.multiplier = 0;
  return set;
}

inline constexpr std::size_t kScreenBlock = 32;

#if defined(__SSE2__)

template <UnitRange R>
[[nodiscard]] TU_TARGET_AVX2 __attribute__((always_inline)) inline __m256i InRange16(__m256i v) {
  if constexpr (R.lo == R.hi) {
    return _mm256_cmpeq_epi16(v, _mm256_set1_epi16(static_cast<short>(R.lo)));
  } else if constexpr (R.lo == kSurrogateRange.lo && R.hi == kSurrogateRange.hi) {
    return _mm256_cmpeq_epi16(_mm256_and_si256(v, _mm256_set1_epi16(static_cast<short>(0xF800))),
                              _mm256_set1_epi16(static_cast<short>(0xD800)));
  } else {
    // Unsigned u - lo <= hi - lo, as a saturating subtraction that leaves 0.
    const __m256i offset = _mm256_sub_epi16(v, _mm256_set1_epi16(static_cast<short>(R.lo)));
    const __m256i over =
        _mm256_subs_epu16(offset, _mm256_set1_epi16(static_cast<short>(R.hi - R.lo)));
    return _mm256_cmpeq_epi16(over, _mm256_setzero_si256());
  }
}

template <const auto& Set>
[[nodiscard]] TU_TARGET_AVX2 __attribute__((always_inline)) inline __m256i Singles16(__m256i v) {
  if constexpr (Set.singleCount == 0) {
    return _mm256_setzero_si256();
  } else {
    // The slot's low bytes and high bytes as two 16-entry byte tables.
    alignas(32) static constexpr auto kBytes = [] {
      std::array<std::uint8_t, 64> bytes{};
      for (std::size_t k = 0; k < 32; ++k) {
        bytes[k] = static_cast<std::uint8_t>(Set.slots[k % 16]);
        bytes[32 + k] = static_cast<std::uint8_t>(Set.slots[k % 16] >> 8);
      }
      return bytes;
    }();
    const __m256i lows = _mm256_load_si256(reinterpret_cast<const __m256i*>(kBytes.data()));
    const __m256i highs = _mm256_load_si256(reinterpret_cast<const __m256i*>(kBytes.data() + 32));
    const __m256i slot = _mm256_srli_epi16(
        _mm256_mullo_epi16(v, _mm256_set1_epi16(static_cast<short>(Set.multiplier))), 12);
    // A byte index with its top bit set yields 0: the low byte's lookup
    // lands in the low byte, the high byte's in the high byte.
    const __m256i lowIndex = _mm256_or_si256(slot, _mm256_set1_epi16(static_cast<short>(0x8000)));
    const __m256i highIndex =
        _mm256_or_si256(_mm256_slli_epi16(slot, 8), _mm256_set1_epi16(0x0080));
    const __m256i expected =
        _mm256_or_si256(_mm256_shuffle_epi8(lows, lowIndex), _mm256_shuffle_epi8(highs, highIndex));
    return _mm256_cmpeq_epi16(v, expected);
  }
}

template <const auto& Set>
[[nodiscard]] TU_TARGET_AVX2 __attribute__((always_inline)) inline __m256i Hits16(
    const char16_t* p) {
  const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
  return [&]<std::size_t... I>(std::index_sequence<I...>) TU_TARGET_AVX2
      __attribute__((always_inline)) {
    __m256i hit = Singles16<Set>(v);
    ((hit = _mm256_or_si256(hit, InRange16<Set.ranges[I]>(v))), ...);
    return hit;
  }
  (std::make_index_sequence<Set.ranges.size()>{});
}

// 16 units at a time, for processors with AVX2; callers pick it at run time
// with HasWideScreen(), from a function compiled for AVX2 that takes the walk
// in whole (flatten), so that this test is inlined there.
template <const auto& Set>
struct WideScreen {
  // Two bits per unit of p[0..32): bits 2k and 2k+1 are set when unit k is
  // in the set; 0 when none is.
  [[nodiscard]] TU_TARGET_AVX2 static std::uint64_t Block(const char16_t* p) {
    const __m256i h0 = Hits16<Set>(p);
    const __m256i h1 = Hits16<Set>(p + 16);
    const __m256i any = _mm256_or_si256(h0, h1);
    if (_mm256_testz_si256(any, any)) return 0;
    return static_cast<std::uint32_t>(_mm256_movemask_epi8(h0)) |
           static_cast<std::uint64_t>(static_cast<std::uint32_t>(_mm256_movemask_epi8(h1))) << 32;
  }
};

[[nodiscard]] inline bool& WideScreenEnabled() {
  static bool enabled = __builtin_cpu_supports("avx2");
  return enabled;
}

// The baseline of every x86-64 processor: SSE2 has no byte table lookup, so
// each single takes a compare.
template <UnitRange R>
[[nodiscard]] __attribute__((always_inline)) inline __m128i InRange8(__m128i v) {
  if constexpr (R.lo == R.hi) {
    return _mm_cmpeq_epi16(v, _mm_set1_epi16(static_cast<short>(R.lo)));
  } else if constexpr (R.lo == kSurrogateRange.lo && R.hi == kSurrogateRange.hi) {
    return _mm_cmpeq_epi16(_mm_and_si128(v, _mm_set1_epi16(static_cast<short>(0xF800))),
                           _mm_set1_epi16(static_cast<short>(0xD800)));
  } else {
    const __m128i offset = _mm_sub_epi16(v, _mm_set1_epi16(static_cast<short>(R.lo)));
    const __m128i over = _mm_subs_epu16(offset, _mm_set1_epi16(static_cast<short>(R.hi - R.lo)));
    return _mm_cmpeq_epi16(over, _mm_setzero_si128());
  }
}

template <const auto& Set>
[[nodiscard]] __attribute__((always_inline)) inline __m128i Hits8(const char16_t* p) {
  const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i hit = [&]<std::size_t... I>(std::index_sequence<I...>) {
    __m128i singles = _mm_setzero_si128();
    ((singles = _mm_or_si128(singles, InRange8<UnitRange{Set.singles[I], Set.singles[I]}>(v))),
     ...);
    return singles;
  }
  (std::make_index_sequence<Set.singleCount>{});
  [&]<std::size_t... I>(std::index_sequence<I...>) {
    ((hit = _mm_or_si128(hit, InRange8<Set.ranges[I]>(v))), ...);
  }
  (std::make_index_sequence<Set.ranges.size()>{});
  return hit;
}

template <const auto& Set>
struct NarrowScreen {
  [[nodiscard]] __attribute__((always_inline)) static std::uint64_t Block(const char16_t* p) {
    const __m128i h0 = Hits8<Set>(p);
    const __m128i h1 = Hits8<Set>(p + 8);
    const __m128i h2 = Hits8<Set>(p + 16);
    const __m128i h3 = Hits8<Set>(p + 24);
    if (_mm_movemask_epi8(_mm_or_si128(_mm_or_si128(h0, h1), _mm_or_si128(h2, h3))) == 0) return 0;
    return static_cast<std::uint64_t>(_mm_movemask_epi8(h0)) |
           static_cast<std::uint64_t>(_mm_movemask_epi8(h1)) << 16 |
           static_cast<std::uint64_t>(_mm_movemask_epi8(h2)) << 32 |
           static_cast<std::uint64_t>(_mm_movemask_epi8(h3)) << 48;
  }
};

#else

template <const auto& Set>
struct NarrowScreen {
  [[nodiscard]] static std::uint64_t Block(const char16_t* p) {
    std::uint64_t mask = 0;
    for (std::size_t k = 0; k < kScreenBlock; ++k) {
      if (Set.Contains(p[k])) mask |= std::uint64_t{3} << (2 * k);
    }
    return mask;
  }
};

template <const auto& Set>
using WideScreen = NarrowScreen<Set>;

[[nodiscard]] inline bool& WideScreenEnabled() {
  static bool enabled = false;
  return enabled;
}

#endif

// Whether the walks use the AVX2 screen; tests switch it off to run the
// baseline screen on the same machine.
[[nodiscard]] inline bool HasWideScreen() { return WideScreenEnabled(); }

// Units in p[0..n) that belong to the set.
template <class Screener, const auto& Set>
[[nodiscard]] __attribute__((always_inline)) inline std::size_t CountScreened(const char16_t* p,
                                                                              std::size_t n) {
  std::size_t count = 0;
  std::size_t i = 0;
  for (; i + kScreenBlock <= n; i += kScreenBlock) {
    count += static_cast<std::size_t>(__builtin_popcountll(Screener::Block(p + i))) / 2;
  }
  for (; i < n; ++i) count += Set.Contains(p[i]);
  return count;
}

// Index of the unit a block mask's lowest set bit stands for.
[[nodiscard]] inline std::size_t FirstScreened(std::uint64_t mask) {
  return static_cast<std::size_t>(__builtin_ctzll(mask)) / 2;
}

}  // namespace textunits::detail
