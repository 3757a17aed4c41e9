#include "plugin/filters.h"

#include <cstdint>
#include <string>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace quornel::plugin {

const char16_t* const FilterNames[kFilterCount] = {
    u"CP932互換文字変換",
    u"CP932互換文字逆変換",
    u"JISX0208互換文字変換",
    u"JISX0208互換文字逆変換",
    u"JISX0213 ⇒ JISX0208",
    u"JISX0208 ⇒ JISX0213",
    u"NFC正規化",
    u"NFD正規化",
    u"ShiftJIS自動変換",
    u"ShiftJIS指定置換",
};

const char16_t* const FilterDescriptions[kFilterCount] = {
    u"CP932非互換文字をCP932互換文字へ再マッピング",
    u"CP932互換文字をCP932非互換文字へ再マッピング",
    u"JISX0208非互換文字をJISX0208互換文字へ再マッピング",
    u"JISX0208互換文字をJISX0208非互換文字へ再マッピング",
    u"JISX0213常用漢字をJISX0208互換文字へ再マッピング",
    u"新常用漢字のうちJISX0208に存在しない文字を再マッピング",
    u"Unicode文字列をNFCで正規化",
    u"Unicode文字列をNFDで正規化",
    u"ShiftJIS表示不可文字を自動的に表示可能な文字に変換",
    u"ShiftJIS表示不可文字を指定した表示可能な文字に置換",
};

const TFilterFunc FilterFunctions[kFilterCount] = {
    FilterUnicodeToCP932,    FilterCP932ToUnicode, FilterJISX0208ToUnicode,
    FilterUnicodeToJISX0208, FilterJISX0213ToJISX0208, FilterJISX0208ToJISX0213,
    FilterNFC,               FilterNFD,            FilterShiftJISAuto,
    FilterShiftJISReplace,
};

const char16_t* ResultPointer(const std::u16string& result) {
  return result.empty() ? u"" : result.c_str();
}

namespace {

// The length of the host's zero-terminated text. Every filter starts here, on
// texts of megabytes, so the terminator is looked for a block of units at a
// time. Only whole aligned blocks are read: such a block never crosses a
// page, so reading past the terminator inside it cannot fault. Under
// AddressSanitizer, which would rightly flag those bytes, the plain loop runs.
#if defined(__x86_64__) && !defined(__SANITIZE_ADDRESS__)
#define QUORNEL_BLOCK_SCAN 1

// 64 units an iteration: the terminator of a long text is far away.
__attribute__((target("avx2"))) std::size_t TextLengthAvx2(const char16_t* text) {
  const char16_t* p = text;
  while (reinterpret_cast<std::uintptr_t>(p) % 32 != 0) {
    if (*p == 0) return static_cast<std::size_t>(p - text);
    ++p;
  }
  const __m256i zero = _mm256_setzero_si256();
  for (;; p += 32) {
    const __m256i a = _mm256_load_si256(reinterpret_cast<const __m256i*>(p));
    const __m256i b = _mm256_load_si256(reinterpret_cast<const __m256i*>(p + 16));
    const __m256i hit = _mm256_or_si256(_mm256_cmpeq_epi16(a, zero), _mm256_cmpeq_epi16(b, zero));
    if (_mm256_testz_si256(hit, hit)) continue;
    const unsigned first = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi16(a, zero)));
    if (first != 0) return static_cast<std::size_t>(p - text) + __builtin_ctz(first) / 2;
    const unsigned second = static_cast<unsigned>(_mm256_movemask_epi8(_mm256_cmpeq_epi16(b, zero)));
    return static_cast<std::size_t>(p - text) + 16 + __builtin_ctz(second) / 2;
  }
}

std::size_t TextLengthSse2(const char16_t* text) {
  const char16_t* p = text;
  while (reinterpret_cast<std::uintptr_t>(p) % 16 != 0) {
    if (*p == 0) return static_cast<std::size_t>(p - text);
    ++p;
  }
  const __m128i zero = _mm_setzero_si128();
  for (;; p += 8) {
    const __m128i units = _mm_load_si128(reinterpret_cast<const __m128i*>(p));
    const int mask = _mm_movemask_epi8(_mm_cmpeq_epi16(units, zero));
    if (mask != 0) return static_cast<std::size_t>(p - text) + __builtin_ctz(mask) / 2;
  }
}
#endif

std::size_t TextLength(const char16_t* text) {
#ifdef QUORNEL_BLOCK_SCAN
  if (reinterpret_cast<std::uintptr_t>(text) % alignof(char16_t) == 0) {
    static const bool avx2 = __builtin_cpu_supports("avx2");
    return avx2 ? TextLengthAvx2(text) : TextLengthSse2(text);
  }
#endif
  return std::char_traits<char16_t>::length(text);
}

}  // namespace

std::u16string_view InputText(const TFilterExecInfo* info) {
  if (info == nullptr || info->Text == nullptr) return {};
  return std::u16string_view(info->Text, TextLength(info->Text));
}

std::u16string_view InputApartFrom(const TFilterExecInfo* info, const std::u16string& result,
                                   std::u16string& spare) {
  const std::u16string_view text = InputText(info);
  const auto at = reinterpret_cast<std::uintptr_t>(text.data());
  const auto begin = reinterpret_cast<std::uintptr_t>(result.data());
  const auto end = reinterpret_cast<std::uintptr_t>(result.data() + result.capacity() + 1);
  if (text.empty() || at < begin || at >= end) return text;
  spare.assign(text);
  return spare;
}

}  // namespace quornel::plugin
