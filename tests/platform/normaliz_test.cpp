// The normalization library and the module calls that reach it: sizes,
// results and last-error codes as Windows gives them.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/testing.h"
#include "platform/winapi.h"

namespace pf = quornel::platform;
namespace seam = quornel::platform::testing;

namespace {

struct CallResult {
  int value;
  pf::DWORD error;
};

class NormalizLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = pf::LoadLibraryW(u"normaliz.dll");
    ASSERT_NE(module_, nullptr);
    normalize_ =
        reinterpret_cast<pf::NormalizeStringProc>(pf::GetProcAddress(module_, "NormalizeString"));
    isNormalized_ = reinterpret_cast<pf::IsNormalizedStringProc>(
        pf::GetProcAddress(module_, "IsNormalizedString"));
    ASSERT_NE(normalize_, nullptr);
    ASSERT_NE(isNormalized_, nullptr);
  }
  void TearDown() override {
    if (module_ != nullptr) pf::FreeLibrary(module_);
  }

  CallResult Normalize(int form, const std::u16string& text, char16_t* dst, int dstLength) {
    pf::SetLastError(0xDEAD);
    const int value = normalize_(static_cast<pf::NORM_FORM>(form), text.data(),
                                 static_cast<int>(text.size()), dst, dstLength);
    return {value, pf::GetLastError()};
  }
  CallResult Estimate(int form, const std::u16string& text) {
    return Normalize(form, text, nullptr, 0);
  }
  // The text in `form`, with a buffer as large as the result can get.
  std::u16string Normalized(int form, const std::u16string& text) {
    std::u16string out(text.size() * 18 + 1, u'\0');
    const CallResult r = Normalize(form, text, out.data(), static_cast<int>(out.size()));
    EXPECT_EQ(r.error, pf::ERROR_SUCCESS);
    out.resize(r.value > 0 ? static_cast<std::size_t>(r.value) : 0);
    return out;
  }
  CallResult IsNormalized(int form, const std::u16string& text) {
    pf::SetLastError(0xDEAD);
    const pf::BOOL value = isNormalized_(static_cast<pf::NORM_FORM>(form), text.data(),
                                         static_cast<int>(text.size()));
    return {value, pf::GetLastError()};
  }

  pf::HMODULE module_ = nullptr;
  pf::NormalizeStringProc normalize_ = nullptr;
  pf::IsNormalizedStringProc isNormalized_ = nullptr;
};

TEST(ModuleLoading, NamesAreMatchedAsWindowsMatchesThem) {
  struct Case {
    const char16_t* name;
    bool loads;
    pf::DWORD error;  // when it does not
  };
  const Case cases[] = {
      {u"normaliz.dll", true, 0},
      {u"NORMALIZ.DLL", true, 0},
      {u"Normaliz.Dll", true, 0},
      {u"normaliz", true, 0},  // ".dll" is implied without an extension
      {u"normaliz.", false, pf::ERROR_MOD_NOT_FOUND},  // trailing dot: no extension wanted
      {u"normaliz.dl", false, pf::ERROR_MOD_NOT_FOUND},
      {u"normaliz.dllx", false, pf::ERROR_MOD_NOT_FOUND},
      {u"normaliz.dll ", false, pf::ERROR_MOD_NOT_FOUND},
      {u"mlang.dll", false, pf::ERROR_MOD_NOT_FOUND},
      {u"", false, pf::ERROR_INVALID_PARAMETER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
    pf::SetLastError(0);
    pf::HMODULE module = pf::LoadLibraryW(c.name);
    EXPECT_EQ(module != nullptr, c.loads);
    if (module != nullptr) {
      EXPECT_EQ(pf::FreeLibrary(module), pf::TRUE_);
    } else {
      EXPECT_EQ(pf::GetLastError(), c.error);
    }
  }
  pf::SetLastError(0);
  EXPECT_EQ(pf::LoadLibraryW(nullptr), nullptr);
  EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_PARAMETER);
}

TEST(ModuleLoading, ProcLookupAndReleaseRejectWhatTheyDoNotKnow) {
  pf::HMODULE module = pf::LoadLibraryW(u"normaliz.dll");
  ASSERT_NE(module, nullptr);
  const pf::FARPROC normalize = pf::GetProcAddress(module, "NormalizeString");
  const pf::FARPROC isNormalized = pf::GetProcAddress(module, "IsNormalizedString");
  EXPECT_NE(normalize, nullptr);
  EXPECT_NE(isNormalized, nullptr);
  EXPECT_NE(normalize, isNormalized);

  // Export names are case-sensitive; a small integer is an ordinal, not a name.
  for (const char* name : {"normalizeString", "NormalizeStringW", "", reinterpret_cast<const char*>(1)}) {
    pf::SetLastError(0);
    EXPECT_EQ(pf::GetProcAddress(module, name), nullptr);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_PROC_NOT_FOUND);
  }
  pf::SetLastError(0);
  EXPECT_EQ(pf::GetProcAddress(module, nullptr), nullptr);
  EXPECT_EQ(pf::GetLastError(), pf::ERROR_PROC_NOT_FOUND);

  int notAModule = 0;
  for (pf::HMODULE bad : {static_cast<pf::HMODULE>(nullptr), reinterpret_cast<pf::HMODULE>(&notAModule)}) {
    pf::SetLastError(0);
    EXPECT_EQ(pf::GetProcAddress(bad, "NormalizeString"), nullptr);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_HANDLE);
    pf::SetLastError(0);
    EXPECT_EQ(pf::FreeLibrary(bad), pf::FALSE_);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(pf::FreeLibrary(module), pf::TRUE_);
}

TEST(ModuleLoading, SeamRemovesTheLibraryAndCountersPairLoadsWithReleases) {
  seam::ResetModuleCounters();
  seam::SetNormalizationLibraryPresent(false);
  pf::SetLastError(0);
  EXPECT_EQ(pf::LoadLibraryW(u"normaliz.dll"), nullptr);
  EXPECT_EQ(pf::GetLastError(), pf::ERROR_MOD_NOT_FOUND);
  seam::SetNormalizationLibraryPresent(true);

  pf::HMODULE a = pf::LoadLibraryW(u"normaliz.dll");
  pf::HMODULE b = pf::LoadLibraryW(u"NORMALIZ");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);  // one module, however it is named
  seam::ModuleCounters counters = seam::GetModuleCounters();
  EXPECT_EQ(counters.loads, 2);
  EXPECT_EQ(counters.releases, 0);
  pf::FreeLibrary(a);
  pf::FreeLibrary(b);
  counters = seam::GetModuleCounters();
  EXPECT_EQ(counters.releases, 2);
  EXPECT_EQ(counters.sizeQueries, 0);
}

TEST(LastError, BelongsToTheCallingThread) {
  pf::SetLastError(pf::ERROR_INVALID_PARAMETER);
  pf::DWORD seenByOther = 0xFFFF;
  std::thread other([&] {
    seenByOther = pf::GetLastError();
    pf::SetLastError(pf::ERROR_NO_UNICODE_TRANSLATION);
  });
  other.join();
  EXPECT_EQ(seenByOther, pf::ERROR_SUCCESS);
  EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_PARAMETER);
}

TEST_F(NormalizLibrary, FourFormsNormalize) {
  struct Case {
    int form;
    std::u16string in, out;
  };
  const Case cases[] = {
      {1, u"e\u0301", u"\u00E9"},
      {2, u"\u00E9", u"e\u0301"},
      {1, u"\u304B\u3099", u"\u304C"},
      {2, u"\u30D1", u"\u30CF\u309A"},
      {5, u"\uFF76\uFF9E", u"\u30AC"},          // halfwidth katakana with voiced mark
      {6, u"\u3300", u"\u30A2\u30CF\u309A\u30FC\u30C8"},
      {1, u"\U00020B9F\u3042", u"\U00020B9F\u3042"},  // a surrogate pair is one character
      {1, u"\u1100\u1161\u11A8", u"\uAC01"},    // conjoining jamo compose
      {2, u"\uAC01", u"\u1100\u1161\u11A8"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.form);
    EXPECT_EQ(Normalized(c.form, c.in), c.out);
  }
}

TEST_F(NormalizLibrary, EstimateIsAGuessThatSucceedsAndMayBeTooSmall) {
  for (int form : {1, 2, 5, 6}) {
    for (const std::u16string& text :
         {std::u16string(u"a"), std::u16string(u"\u304C\u304E\u3050"),
          std::u16string(56, u'\u3042'), std::u16string(1000, u'x'),
          std::u16string(u"\xD800")}) {  // the estimate does not look at surrogates
      const CallResult r = Estimate(form, text);
      EXPECT_EQ(r.error, pf::ERROR_SUCCESS);
      EXPECT_GT(r.value, static_cast<int>(text.size())) << "form " << form << " length " << text.size();
    }
  }
  // U+FDFA decomposes into 18 units; a quick guess cannot know that.
  const CallResult guess = Estimate(6, u"\uFDFA");
  EXPECT_EQ(guess.error, pf::ERROR_SUCCESS);
  EXPECT_LT(guess.value, 18);
}

TEST_F(NormalizLibrary, TooSmallDestinationReportsTheNeededSize) {
  std::u16string buffer(64, u'\0');
  CallResult r = Normalize(6, u"\uFDFA", buffer.data(), 17);
  EXPECT_EQ(r.value, -18);
  EXPECT_EQ(r.error, pf::ERROR_INSUFFICIENT_BUFFER);
  r = Normalize(2, u"\u304C\u304C", buffer.data(), 1);
  EXPECT_EQ(r.value, -4);
  EXPECT_EQ(r.error, pf::ERROR_INSUFFICIENT_BUFFER);

  // An exact fit succeeds and clears an earlier error code.
  r = Normalize(6, u"\uFDFA", buffer.data(), 18);
  EXPECT_EQ(r.value, 18);
  EXPECT_EQ(r.error, pf::ERROR_SUCCESS);
  EXPECT_EQ(buffer.substr(0, 5), u"\u0635\u0644\u0649 \u0627");
}

// Composition shortens the text in the buffer; nothing of the longer text may
// be left where a caller reading up to U+0000 would take it for the result.
TEST_F(NormalizLibrary, ComposedResultIsFollowedByATerminatorWhenThereIsRoom) {
  for (const std::u16string& text :
       {std::u16string(u"D\u0307"), std::u16string(u"\u1E0C\u0307\u0307"),
        std::u16string(u"\u304B\u3099\u304B\u3099\u304B\u3099")}) {
    std::u16string buffer(16, u'x');
    const CallResult r = Normalize(1, text, buffer.data(), 16);
    ASSERT_GT(r.value, 0);
    EXPECT_EQ(buffer[static_cast<std::size_t>(r.value)], u'\0');
  }
}

// The retry after ERROR_INSUFFICIENT_BUFFER must normalize what it is given
// now, even when the buffers are the same as on the failed call.
TEST_F(NormalizLibrary, RetryAfterTooSmallNormalizesTheCurrentSource) {
  std::u16string source = u"\uFDFA";
  std::u16string buffer(32, u'\0');
  EXPECT_EQ(Normalize(6, source, buffer.data(), 4).error, pf::ERROR_INSUFFICIENT_BUFFER);
  source[0] = u'\u3300';  // changed in place between the calls
  CallResult r = Normalize(6, source, buffer.data(), 32);
  EXPECT_EQ(r.error, pf::ERROR_SUCCESS);
  EXPECT_EQ(buffer.substr(0, static_cast<std::size_t>(r.value)), u"\u30A2\u30CF\u309A\u30FC\u30C8");

  EXPECT_EQ(Normalize(6, source, buffer.data(), 2).error, pf::ERROR_INSUFFICIENT_BUFFER);
  r = Normalize(5, source, buffer.data(), 32);  // another form
  EXPECT_EQ(buffer.substr(0, static_cast<std::size_t>(r.value)), u"\u30A2\u30D1\u30FC\u30C8");

  EXPECT_EQ(Normalize(6, source, buffer.data(), 2).error, pf::ERROR_INSUFFICIENT_BUFFER);
  r = Normalize(6, source, buffer.data(), 4);  // still too small
  EXPECT_EQ(r.value, -5);
  EXPECT_EQ(r.error, pf::ERROR_INSUFFICIENT_BUFFER);
  r = Normalize(6, source, buffer.data(), 5);
  EXPECT_EQ(r.value, 5);
  EXPECT_EQ(buffer.substr(0, 5), u"\u30A2\u30CF\u309A\u30FC\u30C8");
}

TEST_F(NormalizLibrary, OtherFormsAreRefused) {
  std::u16string buffer(8, u'\0');
  for (int form : {0, 3, 4, 7, 13, -1, 256 + 1}) {
    SCOPED_TRACE(form);
    CallResult r = Estimate(form, u"abc");
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(r.error, pf::ERROR_INVALID_PARAMETER);
    r = Normalize(form, u"abc", buffer.data(), 8);
    EXPECT_EQ(r.value, 0);
    EXPECT_EQ(r.error, pf::ERROR_INVALID_PARAMETER);
    r = IsNormalized(form, u"abc");
    EXPECT_EQ(r.value, pf::FALSE_);
    EXPECT_EQ(r.error, pf::ERROR_INVALID_PARAMETER);
  }
}

TEST_F(NormalizLibrary, UnpairedSurrogateFailsTheNormalizingCall) {
  const std::u16string cases[] = {
      u"\xD800",            // high alone
      u"a\xDC00",           // low alone
      u"\xDE00\xD83D",      // a pair in the wrong order
      u"ab\u304C\xD83D",    // high at the very end
      u"\xD83D\xD83D\xDE00",  // a high followed by a complete pair
  };
  std::u16string buffer(32, u'\0');
  for (const std::u16string& text : cases) {
    for (int form : {1, 2, 5, 6}) {
      EXPECT_EQ(Estimate(form, text).error, pf::ERROR_SUCCESS);
      const CallResult r = Normalize(form, text, buffer.data(), 32);
      EXPECT_LE(r.value, 0);
      EXPECT_EQ(r.error, pf::ERROR_NO_UNICODE_TRANSLATION);
      const CallResult check = IsNormalized(form, text);
      EXPECT_EQ(check.value, pf::FALSE_);
      EXPECT_EQ(check.error, pf::ERROR_NO_UNICODE_TRANSLATION);
    }
  }
  EXPECT_EQ(Normalized(1, u"\xD83D\xDE00"), u"\xD83D\xDE00");
}

TEST_F(NormalizLibrary, NulIsAnOrdinaryCharacter) {
  const std::u16string text(u"e\u0301\0e\u0301", 5);
  EXPECT_EQ(Normalized(1, text), std::u16string(u"\u00E9\0\u00E9", 3));
  // Nothing composes across it.
  EXPECT_EQ(Normalized(1, std::u16string(u"e\0\u0301", 3)), std::u16string(u"e\0\u0301", 3));
}

TEST_F(NormalizLibrary, MinusOneLengthCountsAndCopiesTheTerminator) {
  const char16_t text[] = u"e\u0301";
  pf::SetLastError(0xDEAD);
  EXPECT_GE(normalize_(pf::NormalizationC, text, -1, nullptr, 0), 3);
  EXPECT_EQ(pf::GetLastError(), pf::ERROR_SUCCESS);

  char16_t buffer[8] = {u'x', u'x', u'x', u'x', u'x', u'x', u'x', u'x'};
  EXPECT_EQ(normalize_(pf::NormalizationC, text, -1, buffer, 8), 2);
  EXPECT_EQ(buffer[0], u'\u00E9');
  EXPECT_EQ(buffer[1], u'\0');
  EXPECT_EQ(isNormalized_(pf::NormalizationD, text, -1), pf::TRUE_);
}

TEST_F(NormalizLibrary, BadArgumentsAreInvalidParameters) {
  char16_t buffer[4] = {};
  const char16_t text[] = u"abc";
  struct Case {
    const char16_t* src;
    int srcLength;
    char16_t* dst;
    int dstLength;
  };
  const Case cases[] = {
      {nullptr, 3, buffer, 4}, {text, -2, buffer, 4}, {text, 3, nullptr, 4}, {text, 3, buffer, -1},
  };
  for (const Case& c : cases) {
    pf::SetLastError(0);
    EXPECT_EQ(normalize_(pf::NormalizationC, c.src, c.srcLength, c.dst, c.dstLength), 0);
    EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_PARAMETER);
  }
  pf::SetLastError(0);
  EXPECT_EQ(isNormalized_(pf::NormalizationC, nullptr, 3), pf::FALSE_);
  EXPECT_EQ(pf::GetLastError(), pf::ERROR_INVALID_PARAMETER);
}

TEST_F(NormalizLibrary, IsNormalizedAnswersPerForm) {
  struct Case {
    int form;
    std::u16string text;
    bool normalized;
  };
  const Case cases[] = {
      {1, u"\u00E9\u304C", true},   {1, u"e\u0301", false},   {2, u"\u00E9", false},
      {2, u"e\u0301", true},        {5, u"\uFF76", false},    {1, u"\uFF76", true},
      {6, u"\u30A2\u30CF\u309A", true}, {5, u"\u30A2\u30CF\u309A", false},
      {1, u"\u0301", true},  // a lone combining mark is still normalized
  };
  for (const Case& c : cases) {
    const CallResult r = IsNormalized(c.form, c.text);
    EXPECT_EQ(r.value != pf::FALSE_, c.normalized) << "form " << c.form;
    EXPECT_EQ(r.error, pf::ERROR_SUCCESS);
  }
}

TEST_F(NormalizLibrary, SizeQueriesAreCounted) {
  seam::ResetModuleCounters();
  (void)Estimate(1, u"abc");
  (void)Estimate(0, u"abc");  // refused, but still a size query
  std::u16string buffer(8, u'\0');
  (void)Normalize(1, u"abc", buffer.data(), 8);
  EXPECT_EQ(seam::GetModuleCounters().sizeQueries, 2);
}

}  // namespace
