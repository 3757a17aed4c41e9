// The six remappings between look-alike code points of the Unicode, CP932,
// JIS X 0208 and JIS X 0213 views of Japanese text.
//
// Each routine is one walk over the text into a result allocated once.
// Mapping a unit and then (for the routines that work on code points) going to
// UTF-32, mapping and coming back would cost three walks and three
// allocations; the walk here gives the same text directly: it maps units,
// drops lone surrogates, maps the one supplementary pair (U+20B9F) and yields
// the empty text when the first code point left is U+0000, as a trip through
// UTF-32 would.
//
// Almost every unit of Japanese text is no source at all, so the walk screens
// blocks of 32 units against a small set that holds every unit it might have
// to touch, and copies the blocks that hold none with one memcpy per run. The
// one fix that can lengthen the text (U+53F1 becomes a pair) first counts
// those units with the same screen, so its result is still allocated once.
#include "textunits/mapping_fix.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "textunits/surrogates.h"
#include "textunits/unit_screen.h"

using namespace textunits::detail;

namespace {

struct UnitPair {
  char16_t from;
  char16_t to;
};

struct CodePointPair {
  std::uint32_t from;
  std::uint32_t to;
};

// ---- Tables ---------------------------------------------------------------

// CP932 decodes 0x815C to HORIZONTAL BAR and 0x8150 to FULLWIDTH MACRON where
// the other views have EM DASH and OVERLINE.
constexpr UnitPair kCP932ToUnicode[] = {
    {0x2015, 0x2014},  // HORIZONTAL BAR -> EM DASH
    {0xFFE3, 0x203E},  // FULLWIDTH MACRON -> OVERLINE
};

// JIS X 0208 mapped through the plain Unicode tables gives the Latin-1 and
// mathematical forms; these are the full-width forms Windows uses.
constexpr UnitPair kJISX0208ToUnicode[] = {
    {0x00A2, 0xFFE0},  // CENT SIGN -> FULLWIDTH CENT SIGN
    {0x00A3, 0xFFE1},  // POUND SIGN -> FULLWIDTH POUND SIGN
    {0x00AC, 0xFFE2},  // NOT SIGN -> FULLWIDTH NOT SIGN
    {0x2014, 0x2015},  // EM DASH -> HORIZONTAL BAR
    {0x2016, 0x2225},  // DOUBLE VERTICAL LINE -> PARALLEL TO
    {0x203E, 0xFFE3},  // OVERLINE -> FULLWIDTH MACRON
    {0x2212, 0xFF0D},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    {0x301C, 0xFF5E},  // WAVE DASH -> FULLWIDTH TILDE
};

// Dashes and minus signs CP932 cannot encode, to the ones it can.
constexpr UnitPair kUnicodeToCP932[] = {
    {0x2011, 0x002D},  // NON-BREAKING HYPHEN -> HYPHEN-MINUS
    {0x2012, 0x002D},  // FIGURE DASH -> HYPHEN-MINUS
    {0x2013, 0x002D},  // EN DASH -> HYPHEN-MINUS
    {0x2014, 0x2015},  // EM DASH -> HORIZONTAL BAR
    {0x203E, 0xFFE3},  // OVERLINE -> FULLWIDTH MACRON
    {0x2212, 0xFF0D},  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
    {0xFE58, 0xFF0D},  // SMALL EM DASH -> FULLWIDTH HYPHEN-MINUS
    {0xFE63, 0xFF0D},  // SMALL HYPHEN-MINUS -> FULLWIDTH HYPHEN-MINUS
};

// EM DASH and OVERLINE go the same way as from JIS X 0208 to Unicode, not
// back: the reverse pairs belong to the CP932 fix alone.
constexpr UnitPair kUnicodeToJISX0208[] = {
    {0x2011, 0x002D},  // NON-BREAKING HYPHEN -> HYPHEN-MINUS
    {0x2012, 0x002D},  // FIGURE DASH -> HYPHEN-MINUS
    {0x2013, 0x002D},  // EN DASH -> HYPHEN-MINUS
    {0x2014, 0x2015},  // EM DASH -> HORIZONTAL BAR
    {0x203E, 0xFFE3},  // OVERLINE -> FULLWIDTH MACRON
    {0x2225, 0x2016},  // PARALLEL TO -> DOUBLE VERTICAL LINE
    {0xFE58, 0x2212},  // SMALL EM DASH -> MINUS SIGN
    {0xFE63, 0x2212},  // SMALL HYPHEN-MINUS -> MINUS SIGN
    {0xFF0D, 0x2212},  // FULLWIDTH HYPHEN-MINUS -> MINUS SIGN
    {0xFF5E, 0x301C},  // FULLWIDTH TILDE -> WAVE DASH
    {0xFFE0, 0x00A2},  // FULLWIDTH CENT SIGN -> CENT SIGN
    {0xFFE1, 0x00A3},  // FULLWIDTH POUND SIGN -> POUND SIGN
    {0xFFE2, 0x00AC},  // FULLWIDTH NOT SIGN -> NOT SIGN
};

// JIS X 0213 gave four kanji their own code points; JIS X 0208 has only the
// common forms. One of them lies outside the Basic Multilingual Plane.
constexpr CodePointPair kJISX0213ToJISX0208[] = {
    {0x525D, 0x5265},   // 剝 -> 剥
    {0x5861, 0x586B},   // 塡 -> 填
    {0x9830, 0x982C},   // 頰 -> 頬
    {0x20B9F, 0x53F1},  // 𠮟 -> 叱
};

constexpr CodePointPair kJISX0208ToJISX0213[] = {
    {0x5265, 0x525D},   // 剥 -> 剝
    {0x53F1, 0x20B9F},  // 叱 -> 𠮟
    {0x586B, 0x5861},   // 填 -> 塡
    {0x982C, 0x9830},   // 頬 -> 頰
};

// ---- One routine ----------------------------------------------------------

struct Fix {
  std::span<const UnitPair> units;            // applied first, unit by unit
  std::span<const CodePointPair> codePoints;  // then applied to code points
  // Through code points: lone surrogates dropped, pairs decoded, and an empty
  // result when the first code point left is U+0000.
  bool throughCodePoints;
  // The units that become a surrogate pair; the result grows by one unit for
  // each, so they are counted before the result is allocated.
  std::span<const char16_t> widening;
};

[[nodiscard]] constexpr std::uint32_t MapCodePoint(const Fix& fix, std::uint32_t c) {
  for (const CodePointPair& pair : fix.codePoints) {
    if (pair.from == c) return pair.to;
  }
  return c;
}

// A unit that is no surrogate: the unit table, then the code point table.
[[nodiscard]] constexpr std::uint32_t MapUnit(const Fix& fix, char16_t u) {
  char16_t mapped = u;
  for (const UnitPair& pair : fix.units) {
    if (pair.from == u) {
      mapped = pair.to;
      break;
    }
  }
  return MapCodePoint(fix, mapped);
}

[[nodiscard]] constexpr bool Widens(const Fix& fix, char16_t u) {
  return std::find(fix.widening.begin(), fix.widening.end(), u) != fix.widening.end();
}

// The screen of a fix holds every unit its walk may have to do more with than
// copy. A unit the tables change (or drop, or widen) that the screen let through
// would be copied unchanged, so every source must be screened, and with them
// every surrogate when the walk decodes pairs. A unit that is no source maps
// to itself, so only sources can widen or become U+0000. Checked when this
// file is compiled.
template <class Set>
[[nodiscard]] constexpr bool SourceIsSound(const Fix& fix, const Set& screen, char16_t u) {
  if (IsSurrogate(u)) return false;  // sources and targets are Basic Multilingual Plane units
  const std::uint32_t mapped = MapUnit(fix, u);
  return screen.Contains(u) && mapped != 0 && Widens(fix, u) == (mapped > 0xFFFF);
}

template <class Set>
[[nodiscard]] constexpr bool ScreenIsSound(const Fix& fix, const Set& screen) {
  if (screen.singleCount > 0 && screen.multiplier == 0) return false;
  for (const UnitPair& pair : fix.units) {
    if (!SourceIsSound(fix, screen, pair.from) || pair.to == 0 || IsSurrogate(pair.to))
      return false;
  }
  for (const CodePointPair& pair : fix.codePoints) {
    if (!fix.throughCodePoints || pair.to == 0 || pair.to > kLastCodePoint) return false;
    if (pair.from <= 0xFFFF && !SourceIsSound(fix, screen, static_cast<char16_t>(pair.from)))
      return false;
  }
  for (const char16_t u : fix.widening) {
    if (MapUnit(fix, u) <= 0xFFFF) return false;
  }
  for (std::uint32_t c = 0xD800; fix.throughCodePoints && c <= 0xDFFF; ++c) {
    if (!screen.Contains(static_cast<char16_t>(c))) return false;
  }
  return true;
}

// Clean blocks are copied at least this often, while they are still in cache.
constexpr std::size_t kMaxRun = 2048;

// True when a trip through UTF-32 would give the empty text: no code point is
// left once lone surrogates are dropped, or the first one left is U+0000
// (which the way back reads as the terminator). No table maps to or from 0.
[[nodiscard]] bool FirstCodePointIsNull(const char16_t* p, std::size_t n) {
  std::size_t i = 0;
  for (; i < n && IsSurrogate(p[i]); ++i) {
    if (IsLeadSurrogate(p[i]) && i + 1 < n && IsTrailSurrogate(p[i + 1])) return false;
  }
  return i == n || p[i] == 0;
}

// Writes at `out` and returns where the next unit goes; the caller has made
// room for every unit the walk can write.
char16_t* PutCodePoint(char16_t* out, std::uint32_t c) {
  if (c < 0x10000) {
    *out++ = static_cast<char16_t>(c);
  } else {
    *out++ = LeadOf(c);
    *out++ = TrailOf(c);
  }
  return out;
}

template <const Fix& F>
std::size_t HandleScreenedUnit(const char16_t* p, std::size_t i, std::size_t n, char16_t*& out) {
  const char16_t u = p[i];
  if (F.throughCodePoints && IsSurrogate(u)) {
    if (IsLeadSurrogate(u) && i + 1 < n && IsTrailSurrogate(p[i + 1])) {
      out = PutCodePoint(out, MapCodePoint(F, CombineSurrogates(u, p[i + 1])));
      return i + 2;
    }
    return i + 1;  // a lone surrogate has no code point to carry over
  }
  out = PutCodePoint(out, MapUnit(F, u));
  return i + 1;
}

// Stands for "no unit widens".
constexpr auto kNoWidening = MakeUnitSet({0});

template <const Fix& F, const auto& Screen, const auto& Widening, class Screener,
          class WideningScreener>
inline void Walk(std::u16string_view text, WideString& result) {
  const std::size_t n = text.size();
  const char16_t* p = text.data();
  if (n == 0 || (F.throughCodePoints && FirstCodePointIsNull(p, n))) {
    result.clear();
    return;
  }

  std::size_t capacity = n;
  if constexpr (&Widening != &kNoWidening)
    capacity += CountScreened<WideningScreener, Widening>(p, n);
  // Sized once for the most the walk can write (no unit becomes more than
  // one, but for the widening ones counted above) and written through a
  // pointer; what the string held before is overwritten or cut off, so a
  // string reused from run to run is not filled first.
  result.resize(capacity);
  char16_t* out = result.data();
  auto copy = [&out, p](std::size_t from, std::size_t to) {
    std::memcpy(out, p + from, (to - from) * sizeof(char16_t));
    out += to - from;
  };

  // Units from runStart up to the next screened one are copied as they are.
  // A pair found at a block's end takes the first unit of the next block
  // with it, so runStart may run ahead of the block.
  std::size_t runStart = 0;
  std::size_t i = 0;
  for (; i + kScreenBlock <= n; i += kScreenBlock) {
    std::uint64_t mask = Screener::Block(p + i);
    if (mask == 0) {
      if (i > runStart + kMaxRun) {
        copy(runStart, i);
        runStart = i;
      }
      continue;
    }
    do {
      const std::size_t at = i + FirstScreened(mask);
      mask &= mask - 1;
      mask &= mask - 1;
      if (at < runStart) continue;
      copy(runStart, at);
      runStart = HandleScreenedUnit<F>(p, at, n, out);
    } while (mask != 0);
  }
  for (i = std::max(i, runStart); i < n;) {
    if (!Screen.Contains(p[i])) {
      ++i;
      continue;
    }
    copy(runStart, i);
    i = runStart = HandleScreenedUnit<F>(p, i, n, out);
  }
  copy(runStart, n);
  result.resize(static_cast<std::size_t>(out - result.data()));
}

template <const Fix& F, const auto& Screen, const auto& Widening>
TU_TARGET_AVX2 __attribute__((flatten)) void WalkWide(std::u16string_view text, WideString& out) {
  Walk<F, Screen, Widening, WideScreen<Screen>, WideScreen<Widening>>(text, out);
}

template <const Fix& F, const auto& Screen, const auto& Widening = kNoWidening>
void Apply(std::u16string_view text, WideString& out) {
  static_assert(ScreenIsSound(F, Screen));
  if (HasWideScreen()) {
    WalkWide<F, Screen, Widening>(text, out);
  } else {
    Walk<F, Screen, Widening, NarrowScreen<Screen>, NarrowScreen<Widening>>(text, out);
  }
}

// ---- The six routines -----------------------------------------------------

constexpr Fix kCP932ToUnicodeFix = {kCP932ToUnicode, {}, false, {}};
constexpr auto kCP932ToUnicodeScreen = MakeUnitSet({0x2015, 0xFFE3});

constexpr Fix kJISX0208ToUnicodeFix = {kJISX0208ToUnicode, {}, false, {}};
constexpr auto kJISX0208ToUnicodeScreen =
    MakeUnitSet({0x00A2, 0x00A3, 0x00AC, 0x2014, 0x2016, 0x203E, 0x2212, 0x301C});

// The two fixes towards a code page finish with the JIS X 0213 to JIS X 0208
// fix, since neither CP932 nor JIS X 0208 has the JIS X 0213 forms.
constexpr Fix kUnicodeToCP932Fix = {kUnicodeToCP932, kJISX0213ToJISX0208, true, {}};
constexpr auto kUnicodeToCP932Screen = MakeUnitSet(
    {0x2011, 0x2012, 0x2013, 0x2014, 0x203E, 0x2212, 0xFE58, 0xFE63, 0x525D, 0x5861, 0x9830},
    std::array{kSurrogateRange});

constexpr Fix kUnicodeToJISX0208Fix = {kUnicodeToJISX0208, kJISX0213ToJISX0208, true, {}};
constexpr auto kUnicodeToJISX0208Screen =
    MakeUnitSet({0x203E, 0x2225, 0xFE58, 0xFE63, 0xFF0D, 0xFF5E, 0xFFE0, 0xFFE1, 0xFFE2, 0x525D,
                 0x5861, 0x9830},
                std::array{UnitRange{0x2011, 0x2014}, kSurrogateRange});

constexpr Fix kJISX0213ToJISX0208Fix = {{}, kJISX0213ToJISX0208, true, {}};
constexpr auto kJISX0213ToJISX0208Screen =
    MakeUnitSet({0x525D, 0x5861, 0x9830}, std::array{kSurrogateRange});

constexpr char16_t kJISX0208ToJISX0213Widening[] = {0x53F1};
constexpr auto kJISX0208ToJISX0213WideningScreen = MakeUnitSet({0x53F1});
constexpr Fix kJISX0208ToJISX0213Fix = {{}, kJISX0208ToJISX0213, true, kJISX0208ToJISX0213Widening};
constexpr auto kJISX0208ToJISX0213Screen =
    MakeUnitSet({0x5265, 0x53F1, 0x586B, 0x982C}, std::array{kSurrogateRange});

}  // namespace

namespace textunits {

void MappingFixCP932ToUnicode(std::u16string_view text, WideString& out) {
  Apply<kCP932ToUnicodeFix, kCP932ToUnicodeScreen>(text, out);
}

void MappingFixJISX0208ToUnicode(std::u16string_view text, WideString& out) {
  Apply<kJISX0208ToUnicodeFix, kJISX0208ToUnicodeScreen>(text, out);
}

void MappingFixUnicodeToCP932(std::u16string_view text, WideString& out) {
  Apply<kUnicodeToCP932Fix, kUnicodeToCP932Screen>(text, out);
}

void MappingFixUnicodeToJISX0208(std::u16string_view text, WideString& out) {
  Apply<kUnicodeToJISX0208Fix, kUnicodeToJISX0208Screen>(text, out);
}

void MappingFixJISX0213ToJISX0208(std::u16string_view text, WideString& out) {
  Apply<kJISX0213ToJISX0208Fix, kJISX0213ToJISX0208Screen>(text, out);
}

void MappingFixJISX0208ToJISX0213(std::u16string_view text, WideString& out) {
  Apply<kJISX0208ToJISX0213Fix, kJISX0208ToJISX0213Screen,
               kJISX0208ToJISX0213WideningScreen>(text, out);
}

}  // namespace textunits

WideString TuMappingFix_CP932ToUnicode(const WideString& text) {
  WideString out;
  textunits::MappingFixCP932ToUnicode(text, out);
  return out;
}

WideString TuMappingFix_JISX0208ToUnicode(const WideString& text) {
  WideString out;
  textunits::MappingFixJISX0208ToUnicode(text, out);
  return out;
}

WideString TuMappingFix_UnicodeToCP932(const WideString& text) {
  WideString out;
  textunits::MappingFixUnicodeToCP932(text, out);
  return out;
}

WideString TuMappingFix_UnicodeToJISX0208(const WideString& text) {
  WideString out;
  textunits::MappingFixUnicodeToJISX0208(text, out);
  return out;
}

WideString TuMappingFix_JISX0213ToJISX0208(const WideString& text) {
  WideString out;
  textunits::MappingFixJISX0213ToJISX0208(text, out);
  return out;
}

WideString TuMappingFix_JISX0208ToJISX0213(const WideString& text) {
  WideString out;
  textunits::MappingFixJISX0208ToJISX0213(text, out);
  return out;
}
