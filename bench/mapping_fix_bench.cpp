// The mapping fixes and the UTF-16/UTF-32 conversions against a plain copy of
// the same data: each fix must cost little more than copying its text.
#include <string>

#include "bench/ratio.h"
#include "textunits/mapping_fix.h"
#include "textunits/utf16.h"

namespace quornel::bench {
namespace {

using Routine = WideString (*)(const WideString&);

void Run(benchmark::State& state, const Corpus& corpus, Routine routine) {
  for (auto _ : state) {
    WideString result = routine(corpus.text);
    benchmark::DoNotOptimize(result.data());
    benchmark::ClobberMemory();
  }
}

const bool registered = [] {
  RegisterPerCorpus("PlainCopy", [](benchmark::State& state, const Corpus& corpus) {
    for (auto _ : state) {
      std::u16string copy(corpus.text);
      benchmark::DoNotOptimize(copy.data());
      benchmark::ClobberMemory();
    }
  });

  const struct {
    const char* name;
    Routine routine;
    double target;
  } fixes[] = {
      {"MappingFix_UnicodeToCP932", TuMappingFix_UnicodeToCP932, 4.0},
      {"MappingFix_CP932ToUnicode", TuMappingFix_CP932ToUnicode, 4.0},
      {"MappingFix_JISX0208ToUnicode", TuMappingFix_JISX0208ToUnicode, 4.0},
      {"MappingFix_UnicodeToJISX0208", TuMappingFix_UnicodeToJISX0208, 4.0},
      {"MappingFix_JISX0213ToJISX0208", TuMappingFix_JISX0213ToJISX0208, 8.0},
      {"MappingFix_JISX0208ToJISX0213", TuMappingFix_JISX0208ToJISX0213, 8.0},
  };
  for (const auto& fix : fixes) {
    const Routine routine = fix.routine;
    RegisterPerCorpus(fix.name, [routine](benchmark::State& state, const Corpus& corpus) {
      Run(state, corpus, routine);
    });
    RegisterRatio(fix.name, "PlainCopy", fix.target);
  }

  RegisterPerCorpus("UTF16ToUTF32", [](benchmark::State& state, const Corpus& corpus) {
    for (auto _ : state) {
      UCS4String result = UTF16ToUTF32(corpus.text);
      benchmark::DoNotOptimize(result.data());
      benchmark::ClobberMemory();
    }
  });
  RegisterRatio("UTF16ToUTF32", "PlainCopy", 0);

  // The UTF-32 side is made outside the timed loop; its baseline copies it.
  RegisterPerCorpus("PlainCopyUCS4", [](benchmark::State& state, const Corpus& corpus) {
    const UCS4String codePoints = UTF16ToUTF32(corpus.text);
    for (auto _ : state) {
      UCS4String copy(codePoints);
      benchmark::DoNotOptimize(copy.data());
      benchmark::ClobberMemory();
    }
  });
  RegisterPerCorpus("UTF32ToUTF16", [](benchmark::State& state, const Corpus& corpus) {
    const UCS4String codePoints = UTF16ToUTF32(corpus.text);
    for (auto _ : state) {
      WideString result = UTF32ToUTF16(codePoints);
      benchmark::DoNotOptimize(result.data());
      benchmark::ClobberMemory();
    }
  });
  RegisterRatio("UTF32ToUTF16", "PlainCopyUCS4", 0);
  return true;
}();

}  // namespace
}  // namespace quornel::bench
