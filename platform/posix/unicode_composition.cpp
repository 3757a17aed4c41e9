#include "platform/posix/unicode_composition.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>

namespace quornel::platform::detail {
namespace {

const UNormalizer2* Nfd() {
  static const UNormalizer2* const instance = [] {
    UErrorCode status = U_ZERO_ERROR;
    return unorm2_getNFDInstance(&status);
  }();
  return instance;
}

const UNormalizer2* Nfc() {
  static const UNormalizer2* const instance = [] {
    UErrorCode status = U_ZERO_ERROR;
    return unorm2_getNFCInstance(&status);
  }();
  return instance;
}

}  // namespace

int CanonicalDecomposition(WCHAR u, WCHAR (&out)[kMaxDecomposition]) {
  if (Nfd() == nullptr) return 0;
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length = unorm2_getDecomposition(Nfd(), u, reinterpret_cast<UChar*>(out),
                                                 kMaxDecomposition, &status);
  if (U_FAILURE(status) || length <= 0) return 0;
  return length;
}

int ComposePair(WCHAR base, WCHAR mark) {
  if (Nfc() == nullptr) return -1;
  const UChar32 composite = unorm2_composePair(Nfc(), base, mark);
  return composite >= 0 && composite <= 0xFFFF ? composite : -1;
}

bool IsCombining(WCHAR u) {
  // Nothing below U+0300 combines; most text never reaches ICU.
  return u >= 0x0300 && u_getCombiningClass(u) != 0;
}

}  // namespace quornel::platform::detail
