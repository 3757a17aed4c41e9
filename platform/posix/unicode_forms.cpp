#include "platform/posix/unicode_forms.h"

namespace quornel::platform::posix {
namespace {

struct Normalizers {
  const UNormalizer2* nfc = nullptr;
  const UNormalizer2* nfd = nullptr;
  const UNormalizer2* nfkc = nullptr;
  const UNormalizer2* nfkd = nullptr;

  Normalizers() {
    // ICU owns the instances; each stays null if its data cannot be loaded.
    UErrorCode status = U_ZERO_ERROR;
    nfc = unorm2_getNFCInstance(&status);
    if (U_FAILURE(status)) nfc = nullptr;
    status = U_ZERO_ERROR;
    nfd = unorm2_getNFDInstance(&status);
    if (U_FAILURE(status)) nfd = nullptr;
    status = U_ZERO_ERROR;
    nfkc = unorm2_getNFKCInstance(&status);
    if (U_FAILURE(status)) nfkc = nullptr;
    status = U_ZERO_ERROR;
    nfkd = unorm2_getNFKDInstance(&status);
    if (U_FAILURE(status)) nfkd = nullptr;
  }
};

}  // namespace

const UNormalizer2* NormalizerFor(NORM_FORM form) {
  static const Normalizers normalizers;
  switch (form) {
    case NormalizationC: return normalizers.nfc;
    case NormalizationD: return normalizers.nfd;
    case NormalizationKC: return normalizers.nfkc;
    case NormalizationKD: return normalizers.nfkd;
    default: return nullptr;
  }
}

int FindUnpairedSurrogate(LPCWSTR text, int length) {
  // Surrogates are rare even in Japanese text (a few supplementary kanji and
  // emoji), so the loop mostly runs the one comparison per unit.
  for (int i = 0; i < length; ++i) {
    const WCHAR c = text[i];
    if ((c & 0xF800) != 0xD800) continue;
    if (c <= 0xDBFF && i + 1 < length && (text[i + 1] & 0xFC00) == 0xDC00) {
      ++i;
      continue;
    }
    return i;
  }
  return -1;
}

}  // namespace quornel::platform::posix
