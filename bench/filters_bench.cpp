// The plug-in's filters, called as the execute callback calls them, against
// the baselines their speed is judged by: ICU for the conversions and the
// normalization, a plain copy of the same text for the remappings.
#include <unicode/ucnv.h>
#include <unicode/unorm2.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/ratio.h"
#include "plugin/ansi_round_trip.h"
#include "plugin/filters.h"

namespace quornel::bench {
namespace {

void RunFilter(benchmark::State& state, const Corpus& corpus, int index) {
  TFilterExecInfo info{};
  info.Index = index;
  info.Text = corpus.text.c_str();
  std::u16string result;
  for (auto _ : state) {
    const char16_t* out = plugin::FilterFunctions[index](&info, result);
    benchmark::DoNotOptimize(out);
  }
}

void PlainCopy(benchmark::State& state, const Corpus& corpus) {
  for (auto _ : state) {
    std::u16string copy(corpus.text);
    benchmark::DoNotOptimize(copy.data());
  }
}

// ICU's whole-string trip through windows-932 and back.
void IcuRoundTrip932(benchmark::State& state, const Corpus& corpus) {
  UErrorCode status = U_ZERO_ERROR;
  UConverter* converter = ucnv_open("windows-932", &status);
  const auto* src = reinterpret_cast<const UChar*>(corpus.text.data());
  const auto length = static_cast<int32_t>(corpus.text.size());
  std::string bytes(corpus.text.size() * 2 + 16, '\0');
  std::u16string back(corpus.text.size() + 16, u'\0');
  for (auto _ : state) {
    status = U_ZERO_ERROR;
    const int32_t n = ucnv_fromUChars(converter, bytes.data(), static_cast<int32_t>(bytes.size()),
                                      src, length, &status);
    const int32_t m = ucnv_toUChars(converter, reinterpret_cast<UChar*>(back.data()),
                                    static_cast<int32_t>(back.size()), bytes.data(), n, &status);
    benchmark::DoNotOptimize(m);
  }
  if (U_FAILURE(status)) state.SkipWithError(u_errorName(status));
  ucnv_close(converter);
}

void IcuNormalize(benchmark::State& state, const Corpus& corpus, bool compose) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* normalizer =
      compose ? unorm2_getNFCInstance(&status) : unorm2_getNFDInstance(&status);
  const auto* src = reinterpret_cast<const UChar*>(corpus.text.data());
  const auto length = static_cast<int32_t>(corpus.text.size());
  std::u16string out(corpus.text.size() * 3, u'\0');
  for (auto _ : state) {
    status = U_ZERO_ERROR;
    const int32_t n = unorm2_normalize(normalizer, src, length, reinterpret_cast<UChar*>(out.data()),
                                       static_cast<int32_t>(out.size()), &status);
    benchmark::DoNotOptimize(n);
  }
  if (U_FAILURE(status)) state.SkipWithError(u_errorName(status));
}

const bool registered = [] {
  if (plugin::AnsiCodePage() != 932) {
    std::fprintf(stderr, "note: the ANSI code page is %u; run with QUORNEL_ACP=932\n",
                 plugin::AnsiCodePage());
  }
  RegisterPerCorpus("PlainCopy", PlainCopy);
  static const char* const kNames[] = {"Filter0_UnicodeToCP932",   "Filter1_CP932ToUnicode",
                                       "Filter2_JISX0208ToUnicode", "Filter3_UnicodeToJISX0208",
                                       "Filter4_JISX0213ToJISX0208", "Filter5_JISX0208ToJISX0213",
                                       "Filter6_NFC",              "Filter7_NFD",
                                       "Filter8_ShiftJISAuto"};
  for (int index = 0; index <= 8; ++index) {
    RegisterPerCorpus(kNames[index], [index](benchmark::State& state, const Corpus& corpus) {
      RunFilter(state, corpus, index);
    });
  }
  RegisterPerCorpus("ICU_RoundTrip932", IcuRoundTrip932);
  RegisterPerCorpus("ICU_NFC", [](benchmark::State& s, const Corpus& c) { IcuNormalize(s, c, true); });
  RegisterPerCorpus("ICU_NFD", [](benchmark::State& s, const Corpus& c) { IcuNormalize(s, c, false); });

  for (int index = 0; index <= 3; ++index) RegisterRatio(kNames[index], "PlainCopy", 4.0);
  for (int index = 4; index <= 5; ++index) RegisterRatio(kNames[index], "PlainCopy", 8.0);
  RegisterRatio("Filter6_NFC", "ICU_NFC", 1.15);
  RegisterRatio("Filter7_NFD", "ICU_NFD", 1.15);
  // At least twice as fast as ICU's whole-string trip.
  RegisterRatio("Filter8_ShiftJISAuto", "ICU_RoundTrip932", 0.5);
  return true;
}();

}  // namespace
}  // namespace quornel::bench
