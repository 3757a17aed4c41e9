#include "platform/posix/unicode_forms.h"

#include <cstdint>
#include <cstring>

namespace quornel::platform::posix {
namespace {

// ICU owns the instances; one stays null if its data cannot be loaded.
const icu::Normalizer2* Fetch(const icu::Normalizer2* (*get)(UErrorCode&)) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* instance = get(status);
  return U_SUCCESS(status) ? instance : nullptr;
}

}  // namespace

const icu::Normalizer2* NormalizerFor(NORM_FORM form) {
  static const icu::Normalizer2* const forms[] = {
      Fetch(icu::Normalizer2::getNFCInstance), Fetch(icu::Normalizer2::getNFDInstance),
      Fetch(icu::Normalizer2::getNFKCInstance), Fetch(icu::Normalizer2::getNFKDInstance)};
  switch (form) {
    case NormalizationC: return forms[0];
    case NormalizationD: return forms[1];
    case NormalizationKC: return forms[2];
    case NormalizationKD: return forms[3];
    default: return nullptr;
  }
}

bool Overlap(LPCWSTR a, int aLength, LPCWSTR b, int bLength) {
  const auto pa = reinterpret_cast<std::uintptr_t>(a);
  const auto pb = reinterpret_cast<std::uintptr_t>(b);
  return pa < pb + sizeof(WCHAR) * static_cast<std::uintptr_t>(bLength) &&
         pb < pa + sizeof(WCHAR) * static_cast<std::uintptr_t>(aLength);
}

namespace {

constexpr int kBlock = 32;

// Eight units at a time in the compiler's portable vector type; this check
// runs over every text the library normalizes, and spelled per unit it costs
// a tenth of ICU's time on Japanese text that is already in NFC.
using Units8 = std::uint16_t __attribute__((vector_size(16)));

bool BlockHasSurrogate(LPCWSTR block) {
  Units8 any{};
  for (int k = 0; k < kBlock; k += 8) {
    Units8 units;
    std::memcpy(&units, block + k, sizeof units);
    any |= reinterpret_cast<Units8>((units & 0xF800) == 0xD800);
  }
  std::uint64_t halves[2];
  std::memcpy(halves, &any, sizeof halves);
  return (halves[0] | halves[1]) != 0;
}

}  // namespace

int FindUnpairedSurrogate(LPCWSTR text, int length) {
  // Surrogates are rare even in Japanese text (a few supplementary kanji and
  // emoji), so whole blocks without one are passed over; a block with one is
  // walked unit by unit, and a pair may reach into the next block.
  int i = 0;
  while (i < length) {
    if (length - i >= kBlock && !BlockHasSurrogate(text + i)) {
      i += kBlock;
      continue;
    }
    for (const int end = length - i >= kBlock ? i + kBlock : length; i < end; ++i) {
      const WCHAR c = text[i];
      if ((c & 0xF800) != 0xD800) continue;
      if (c <= 0xDBFF && i + 1 < length && (text[i + 1] & 0xFC00) == 0xDC00) {
        ++i;
        continue;
      }
      return i;
    }
  }
  return -1;
}

}  // namespace quornel::platform::posix
