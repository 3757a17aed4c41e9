// TuNormalize and TuIsNormalized hand the text to the platform's normalization
// library, loaded and released on every call, and fall back on the folding
// call where the library is missing.
#include "textunits/normalization.h"

#include <cstdint>
#include <cstring>

#include "platform/winapi.h"

namespace pf = quornel::platform;

namespace {

constexpr pf::WCHAR kLibrary[] = u"normaliz.dll";

// The module stays loaded exactly as long as the routine that loaded it runs,
// and is released on every way out.
class LoadedLibrary {
 public:
  LoadedLibrary() : module_(pf::LoadLibraryW(kLibrary)) {}
  ~LoadedLibrary() {
    if (module_ != nullptr) pf::FreeLibrary(module_);
  }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  template <typename Proc>
  [[nodiscard]] Proc Find(const char* name) const {
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<Proc>(pf::GetProcAddress(module_, name));
  }

 private:
  pf::HMODULE module_;
};

// The platform's size answer is a guess that can be too small for text that
// expands; a too-small buffer is grown this many times before giving up.
constexpr int kMaxRetries = 8;

// Where the text ends: the first U+0000 unit, or `length`. Blocks without a
// zero are passed over eight units at a time in the compiler's portable
// vector type, since this runs over every normalized text.
std::size_t FirstZero(const char16_t* text, std::size_t length) {
  using Units8 = std::uint16_t __attribute__((vector_size(16)));
  constexpr std::size_t kBlock = 32;
  std::size_t i = 0;
  for (; length - i >= kBlock; i += kBlock) {
    Units8 any{};
    for (std::size_t k = 0; k < kBlock; k += 8) {
      Units8 units;
      std::memcpy(&units, text + i + k, sizeof units);
      any |= reinterpret_cast<Units8>(units == 0);
    }
    std::uint64_t halves[2];
    std::memcpy(halves, &any, sizeof halves);
    if ((halves[0] | halves[1]) != 0) break;
  }
  for (; i < length; ++i) {
    if (text[i] == 0) return i;
  }
  return length;
}

// The size query, then the work, on either platform call. `call` has the
// shape of NormalizeString and FoldStringW once form or flags are bound.
//
// The destination is sized without clearing it first: what the call does not
// write is never read, since the text ends at the first U+0000 among the
// units the call wrote, or after the last of them, just as it would in a
// zero-filled buffer. That keeps the room a caller reuses from being filled
// with zeros on every call.
template <typename Call>
bool Transform(std::u16string_view source, WideString& destination, bool sourceHasNoZero,
               Call call) {
  const int sourceLength = static_cast<int>(source.size());
  const int estimate = call(source.data(), sourceLength, nullptr, 0);
  if (pf::GetLastError() != pf::ERROR_SUCCESS || estimate <= 0) {
    destination.clear();
    return pf::GetLastError() == pf::ERROR_SUCCESS && estimate == 0;
  }

  int size = estimate;
  int written = 0;
  for (int attempt = 0;; ++attempt) {
    destination.resize(static_cast<std::size_t>(size));
    written = call(source.data(), sourceLength, destination.data(), size);
    const pf::DWORD error = pf::GetLastError();
    if (error == pf::ERROR_SUCCESS) break;
    if (error != pf::ERROR_INSUFFICIENT_BUFFER || attempt == kMaxRetries) return false;
    // NormalizeString says how much it needs; FoldStringW says 0.
    const long long needed = -static_cast<long long>(written);
    const long long grown = needed > size ? needed : 2LL * size;
    if (grown > INT32_MAX) return false;
    size = static_cast<int>(grown);
  }
  const std::size_t end =
      written > 0 && written < size ? static_cast<std::size_t>(written) : destination.size();
  // No normalization makes U+0000 out of other characters, so a source
  // without one needs no search.
  destination.resize(sourceHasNoZero ? end : FirstZero(destination.data(), end));
  return true;
}

pf::DWORD FoldFlags(TNORM_FORM form) {
  switch (form) {
    case NormalizationC: return pf::MAP_PRECOMPOSED;
    case NormalizationD: return pf::MAP_COMPOSITE;
    case NormalizationKC: return pf::MAP_FOLDCZONE | pf::MAP_PRECOMPOSED;
    case NormalizationKD: return pf::MAP_FOLDCZONE | pf::MAP_COMPOSITE;
    default: return 0;  // refused by the folding call
  }
}

}  // namespace

namespace textunits {

bool Normalize(std::u16string_view source, WideString& destination, TNORM_FORM form,
               bool sourceHasNoZero) {
  // The destination's room is kept for the work below (see Transform); every
  // way out without a result leaves it empty.
  if (source.empty() || source.size() > INT32_MAX) {
    destination.clear();
    return source.empty();  // a longer text is beyond what a platform length can say
  }

  {
    // Released before the fallback below, should the library lack the entry.
    const LoadedLibrary library;
    if (const auto normalize = library.Find<pf::NormalizeStringProc>("NormalizeString")) {
      const auto platformForm = static_cast<pf::NORM_FORM>(form);
      return Transform(source, destination, sourceHasNoZero,
                       [&](const char16_t* src, int srcLength, char16_t* dst, int dstLength) {
                         return normalize(platformForm, src, srcLength, dst, dstLength);
                       });
    }
  }
  const pf::DWORD flags = FoldFlags(form);
  return Transform(source, destination, sourceHasNoZero,
                   [&](const char16_t* src, int srcLength, char16_t* dst, int dstLength) {
                     return pf::FoldStringW(flags, src, srcLength, dst, dstLength);
                   });
}

}  // namespace textunits

bool TuNormalize(const WideString& source, WideString& destination, TNORM_FORM form) {
  return textunits::Normalize(source, destination, form, false);
}

bool TuIsNormalized(const WideString& text, TNORM_FORM form) {
  if (text.empty()) return true;
  if (text.size() > INT32_MAX) return false;
  const LoadedLibrary library;
  const auto isNormalized = library.Find<pf::IsNormalizedStringProc>("IsNormalizedString");
  if (isNormalized == nullptr) return false;
  return isNormalized(static_cast<pf::NORM_FORM>(form), text.data(),
                      static_cast<int>(text.size())) != pf::FALSE_;
}
