// TuNormalize against ICU's own normalizer on the same text. TuNormalize pays
// for the library load and release, the size query, the zero-filled
// destination and the cut at U+0000 on top of ICU; the ratio says what that
// costs. Both write into a buffer kept across iterations (TuNormalize reuses
// its destination's capacity), so neither pays for allocation.
#include <unicode/unorm2.h>

#include <string>

#include "bench/ratio.h"
#include "textunits/normalization.h"

namespace quornel::bench {
namespace {

void BenchTuNormalize(benchmark::State& state, const Corpus& corpus, TNORM_FORM form) {
  WideString destination;
  for (auto _ : state) {
    const bool ok = TuNormalize(corpus.text, destination, form);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(destination.data());
  }
}

void BenchIcu(benchmark::State& state, const Corpus& corpus, const UNormalizer2* normalizer) {
  // Room for the text decomposed, so ICU never runs out.
  std::u16string destination(corpus.text.size() * 3, u'\0');
  for (auto _ : state) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length =
        unorm2_normalize(normalizer, corpus.text.data(), static_cast<int32_t>(corpus.text.size()),
                         destination.data(), static_cast<int32_t>(destination.size()), &status);
    benchmark::DoNotOptimize(length);
    benchmark::DoNotOptimize(destination.data());
    if (U_FAILURE(status)) state.SkipWithError("ICU failed");
  }
}

const UNormalizer2* Instance(const UNormalizer2* (*get)(UErrorCode*)) {
  UErrorCode status = U_ZERO_ERROR;
  return get(&status);
}

const bool registered = [] {
  RegisterPerCorpus("TuNormalize NFC", [](benchmark::State& s, const Corpus& c) {
    BenchTuNormalize(s, c, NormalizationC);
  });
  RegisterPerCorpus("ICU NFC", [](benchmark::State& s, const Corpus& c) {
    BenchIcu(s, c, Instance(unorm2_getNFCInstance));
  });
  RegisterPerCorpus("TuNormalize NFD", [](benchmark::State& s, const Corpus& c) {
    BenchTuNormalize(s, c, NormalizationD);
  });
  RegisterPerCorpus("ICU NFD", [](benchmark::State& s, const Corpus& c) {
    BenchIcu(s, c, Instance(unorm2_getNFDInstance));
  });
  RegisterRatio("TuNormalize NFC", "ICU NFC", 1.15);
  RegisterRatio("TuNormalize NFD", "ICU NFD", 1.15);
  return true;
}();

}  // namespace
}  // namespace quornel::bench
