// Whole-text CP932 conversion, there and back, against ICU's windows-932
// converter on the same corpus. The corpus holds characters CP932 lacks, so
// both sides write substitution characters; the decoding side then reads the
// bytes its own encoder produced.
#include <unicode/ucnv.h>

#include <string>
#include <vector>

#include "bench/ratio.h"
#include "platform/winapi.h"

namespace quornel::bench {
namespace {

namespace qp = quornel::platform;

void PlatformRoundTrip(benchmark::State& state, const Corpus& corpus) {
  const int units = static_cast<int>(corpus.text.size());
  std::string bytes(corpus.text.size() * 2, '\0');
  std::u16string back(corpus.text.size() * 2, u'\0');
  for (auto _ : state) {
    const int n = qp::WideCharToMultiByte(932, 0, corpus.text.data(), units, bytes.data(),
                                          static_cast<int>(bytes.size()), nullptr, nullptr);
    const int m = qp::MultiByteToWideChar(932, 0, bytes.data(), n, back.data(),
                                          static_cast<int>(back.size()));
    if (n == 0 || m == 0) state.SkipWithError("conversion failed");
    benchmark::DoNotOptimize(back.data());
  }
}

void IcuRoundTrip(benchmark::State& state, const Corpus& corpus) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-932", &status);
  if (U_FAILURE(status)) {
    state.SkipWithError("no windows-932 converter in ICU");
    return;
  }
  const auto units = static_cast<int32_t>(corpus.text.size());
  std::string bytes(corpus.text.size() * 2, '\0');
  std::u16string back(corpus.text.size() * 2, u'\0');
  for (auto _ : state) {
    status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(converter, bytes.data(), static_cast<int32_t>(bytes.size()),
                                      reinterpret_cast<const UChar*>(corpus.text.data()), units,
                                      &status);
    const int32_t m = ucnv_toUChars(converter, reinterpret_cast<UChar*>(back.data()),
                                    static_cast<int32_t>(back.size()), bytes.data(), n, &status);
    if (U_FAILURE(status) || m == 0) state.SkipWithError("ICU conversion failed");
    benchmark::DoNotOptimize(back.data());
  }
  ucnv_close(converter);
}

const bool registered = [] {
  RegisterPerCorpus("cp932_roundtrip", PlatformRoundTrip);
  RegisterPerCorpus("icu_cp932_roundtrip", IcuRoundTrip);
  RegisterRatio("cp932_roundtrip", "icu_cp932_roundtrip", 0);
  return true;
}();

}  // namespace
}  // namespace quornel::bench
