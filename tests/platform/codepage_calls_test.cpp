// The conversion calls as observed on the reference platform (results and
// last-error codes), and their buffer contract: size queries, short buffers,
// zero-terminated input, bad arguments and flags.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include <unicode/ustring.h>

#include "platform/winapi.h"

namespace qp = quornel::platform;

namespace {

constexpr int kNoBuffer = -1;  // pass a null destination and size 0 (a size query)

// A destination with guard bytes after its end, so a write past the size the
// call was given shows.
template <typename T>
class GuardedBuffer {
 public:
  explicit GuardedBuffer(int size) : storage_(static_cast<std::size_t>(size) + kGuard, kCanary), size_(size) {}
  T* data() { return storage_.data(); }
  int size() const { return size_; }
  bool GuardIntact() const {
    for (std::size_t i = size_; i < storage_.size(); ++i) {
      if (storage_[i] != kCanary) return false;
    }
    return true;
  }
  std::basic_string<T> First(int n) const { return {storage_.data(), static_cast<std::size_t>(n > 0 ? n : 0)}; }

 private:
  static constexpr std::size_t kGuard = 8;
  static constexpr T kCanary = static_cast<T>(0x5A);
  std::vector<T> storage_;
  int size_;
};

struct Result16 {
  int r;
  std::u16string units;
  qp::DWORD error;
};

Result16 ToWide(qp::UINT cp, qp::DWORD flags, const std::string& bytes, int length, int dstSize = 64) {
  qp::SetLastError(0xDEAD);
  if (dstSize == kNoBuffer) {
    const int r = qp::MultiByteToWideChar(cp, flags, bytes.data(), length, nullptr, 0);
    return {r, u"", qp::GetLastError()};
  }
  GuardedBuffer<char16_t> dst(dstSize);
  const int r = qp::MultiByteToWideChar(cp, flags, bytes.data(), length, dst.data(), dst.size());
  const qp::DWORD error = qp::GetLastError();
  EXPECT_TRUE(dst.GuardIntact()) << "wrote past the destination";
  return {r, dst.First(r), error};
}

struct Result8 {
  int r;
  std::string bytes;
  qp::DWORD error;
};

Result8 ToBytes(qp::UINT cp, qp::DWORD flags, const std::u16string& units, int length, int dstSize = 64,
                const char* defaultChar = nullptr, qp::BOOL* used = nullptr) {
  qp::SetLastError(0xDEAD);
  if (dstSize == kNoBuffer) {
    const int r = qp::WideCharToMultiByte(cp, flags, units.data(), length, nullptr, 0, defaultChar, used);
    return {r, "", qp::GetLastError()};
  }
  GuardedBuffer<char> dst(dstSize);
  const int r =
      qp::WideCharToMultiByte(cp, flags, units.data(), length, dst.data(), dst.size(), defaultChar, used);
  const qp::DWORD error = qp::GetLastError();
  EXPECT_TRUE(dst.GuardIntact()) << "wrote past the destination";
  return {r, dst.First(r), error};
}

constexpr int kWhole = -2;  // the explicit length of the whole input

struct DecodeCase {
  const char* why;
  qp::UINT cp;
  qp::DWORD flags;
  std::string bytes;
  int length;  // kWhole, -1, or an explicit count
  int dstSize;
  int r;
  std::u16string units;
  qp::DWORD error;
};

TEST(MultiByteToWideChar, ObservedCases) {
  const DecodeCase cases[] = {
      {"lead byte at the end", 932, 0, "\x82", kWhole, 64, 1, u"\u30FB", 0},
      {"a lead byte takes a space as its trail", 932, 0, "\x82\x20", kWhole, 64, 1, u"\u30FB", 0},
      {"a lead byte takes DEL as its trail", 932, 0, "\x82\x7F", kWhole, 64, 1, u"\u30FB", 0},
      {"unassigned pair", 932, 0, "\x85\x40", kWhole, 64, 1, u"\u30FB", 0},
      {"A0 is a private-use single byte", 932, 0, "\xA0", kWhole, 64, 1, u"\uF8F0", 0},
      {"80 maps to U+0080", 932, 0, "\x80", kWhole, 64, 1, u"\u0080", 0},
      {"FD is a private-use single byte", 932, 0, "\xFD", kWhole, 64, 1, u"\uF8F1", 0},
      {"user-defined area", 932, 0, "\xF0\x40", kWhole, 64, 1, u"\uE000", 0},
      {"NEC row 13", 932, 0, "\x87\x40", kWhole, 64, 1, u"\u2460", 0},
      {"NEC-selected IBM extension", 932, 0, "\xED\x40", kWhole, 64, 1, u"\u7E8A", 0},
      {"IBM extension", 932, 0, "\xFA\x40", kWhole, 64, 1, u"\u2170", 0},
      {"precomposed", 932, qp::MB_PRECOMPOSED, "\x82\xAA", kWhole, 64, 1, u"\u304C", 0},
      {"composite decomposes", 932, qp::MB_COMPOSITE, "\x82\xAA", kWhole, 64, 2, u"\u304B\u3099", 0},
      {"zero bytes are ordinary", 932, 0, std::string("a\0b", 3), kWhole, 64, 3, std::u16string(u"a\0b", 3), 0},
      {"length -1 converts and counts the terminator", 932, 0, "ab", -1, 64, 3, std::u16string(u"ab\0", 3), 0},
      {"length 0", 932, 0, "ab", 0, 64, 0, u"", qp::ERROR_INVALID_PARAMETER},
      {"unknown code page", 12345, 0, "ab", kWhole, 64, 0, u"", qp::ERROR_INVALID_PARAMETER},
      {"destination too small", 932, 0, "abc", kWhole, 1, 0, u"", qp::ERROR_INSUFFICIENT_BUFFER},
      {"size query", 932, 0, "abc", kWhole, kNoBuffer, 3, u"", 0},
      // Our choice where the observations are silent: the terminator is never
      // a trail byte, so the output of a -1 call stays zero-terminated.
      {"lead byte before the terminator", 932, 0, "\x82", -1, 64, 2, std::u16string(u"\u30FB\0", 2), 0},
      {"UTF-8 truncated and invalid bytes", 65001, 0, "\xC3\xA9\xFF\xE3\x81", kWhole, 64, 3, u"\u00E9\uFFFD\uFFFD", 0},
      {"UTF-8 encoded surrogate", 65001, 0, "\xED\xA0\x80", kWhole, 64, 2, u"\uFFFD\uFFFD", 0},
      {"UTF-8 overlong", 65001, 0, "\xC0\x80", kWhole, 64, 2, u"\uFFFD\uFFFD", 0},
      {"UTF-8 above U+10FFFF", 65001, 0, "\xF4\x90\x80\x80", kWhole, 64, 3, u"\uFFFD\uFFFD\uFFFD", 0},
      {"UTF-8 cut by an ASCII byte", 65001, 0, "\xE3\x81\x41", kWhole, 64, 2, u"\uFFFD\u0041", 0},
      {"UTF-8 four bytes give a pair", 65001, 0, "\xF0\x9F\x98\x80", kWhole, 64, 2, u"\U0001F600", 0},
      {"UTF-8 strict", 65001, qp::MB_ERR_INVALID_CHARS, "a\xC0\x80", kWhole, 64, 0, u"", qp::ERROR_NO_UNICODE_TRANSLATION},
      {"UTF-8 knows no composition flags", 65001, qp::MB_PRECOMPOSED, "a", kWhole, 64, 0, u"", qp::ERROR_INVALID_FLAGS},
      {"precomposed and composite at once", 932, qp::MB_PRECOMPOSED | qp::MB_COMPOSITE, "a", kWhole, 64, 0, u"", qp::ERROR_INVALID_FLAGS},
      {"unknown flag", 932, 0x100, "a", kWhole, 64, 0, u"", qp::ERROR_INVALID_FLAGS},
      {"glyph characters are accepted", 932, qp::MB_USEGLYPHCHARS, "a", kWhole, 64, 1, u"a", 0},
      {"1252 single byte", 1252, 0, "\x80\xE9", kWhole, 64, 2, u"\u20AC\u00E9", 0},
      {"Hangul syllable decomposes in 949", 949, qp::MB_COMPOSITE, "\xB0\xA1", kWhole, 64, 2, u"\u1100\u1161", 0},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.why);
    const int length = c.length == kWhole ? static_cast<int>(c.bytes.size()) : c.length;
    const Result16 got = ToWide(c.cp, c.flags, c.bytes, length, c.dstSize);
    EXPECT_EQ(got.r, c.r);
    EXPECT_EQ(got.units, c.units);
    EXPECT_EQ(got.error, c.error);
  }
}

struct EncodeCase {
  const char* why;
  qp::UINT cp;
  qp::DWORD flags;
  std::u16string units;
  int length;
  int dstSize;
  int r;
  std::string bytes;
  qp::DWORD error;
};

const std::u16string kBestFitSample = u"\u00A5\u203E\u2225\u301C\uFF5E\u2212\u2014\u00E9";

TEST(WideCharToMultiByte, ObservedCases) {
  const EncodeCase cases[] = {
      {"U+3099 alone has no mapping", 932, 0, u"\u304B\u3099", kWhole, 64, 3, "\x82\xA9?", 0},
      {"composed to ga first", 932, qp::WC_COMPOSITECHECK, u"\u304B\u3099", kWhole, 64, 2, "\x82\xAA", 0},
      {"no precomposed form: separately", 932, qp::WC_COMPOSITECHECK, u"\u30AB\u309A", kWhole, 64, 3, "\x83\x4A?", 0},
      {"composed, then best fit e-acute to e", 932, qp::WC_COMPOSITECHECK, u"e\u0301", kWhole, 64, 1, "e", 0},
      {"combining acute alone", 932, 0, u"e\u0301", kWhole, 64, 2, "e?", 0},
      {"each half of a pair alone", 932, 0, u"\U0001F600", kWhole, 64, 2, "??", 0},
      {"lone high surrogate", 932, 0, u"\xD800", kWhole, 64, 1, "?", 0},
      {"best fit and default characters", 932, 0, kBestFitSample, kWhole, 64, 10, "\x5C?\x81\x61?\x81\x60??e", 0},
      {"length -1 includes the terminator", 932, 0, u"ab", -1, 64, 3, std::string("ab\0", 3), 0},
      {"length 0", 932, 0, u"ab", 0, 64, 0, "", qp::ERROR_INVALID_PARAMETER},
      {"destination too small", 932, 0, kBestFitSample, kWhole, 1, 0, "", qp::ERROR_INSUFFICIENT_BUFFER},
      {"size query counts the terminator", 932, 0, kBestFitSample, -1, kNoBuffer, 11, "", 0},
      {"1252 composes e-acute", 1252, qp::WC_COMPOSITECHECK, u"e\u0301", kWhole, 64, 1, "\xE9", 0},
      {"1252 best-fits the acute accent", 1252, 0, u"e\u0301", kWhole, 64, 2, "e\xB4", 0},
      {"UTF-8 unpaired surrogates", 65001, 0, u"A\xD800" u"B\xDC00", kWhole, 64, 8, "A\xEF\xBF\xBD" "B\xEF\xBF\xBD", 0},
      {"UTF-8 strict", 65001, qp::WC_ERR_INVALID_CHARS, u"A\xD800", kWhole, 64, 0, "", qp::ERROR_NO_UNICODE_TRANSLATION},
      {"UTF-8 knows no composite check", 65001, qp::WC_COMPOSITECHECK, u"a", kWhole, 64, 0, "", qp::ERROR_INVALID_FLAGS},
      {"discard the mark that does not compose", 932, qp::WC_COMPOSITECHECK | qp::WC_DISCARDNS, u"\u30AB\u309A", kWhole, 64, 2, "\x83\x4A", 0},
      {"default character for the pair", 932, qp::WC_COMPOSITECHECK | qp::WC_DEFAULTCHAR, u"\u30AB\u309Aa", kWhole, 64, 2, "?a", 0},
      {"explicit separate characters", 932, qp::WC_COMPOSITECHECK | qp::WC_SEPCHARS, u"\u30AB\u309A", kWhole, 64, 3, "\x83\x4A?", 0},
      {"two composite modes at once", 932, qp::WC_COMPOSITECHECK | qp::WC_DISCARDNS | qp::WC_SEPCHARS, u"a", kWhole, 64, 0, "", qp::ERROR_INVALID_FLAGS},
      {"WC_ERR_INVALID_CHARS is for UTF-8 only", 932, qp::WC_ERR_INVALID_CHARS, u"a", kWhole, 64, 0, "", qp::ERROR_INVALID_FLAGS},
      {"no best fit: yen sign", 932, qp::WC_NO_BEST_FIT_CHARS, u"\u00A5\u2225", kWhole, 64, 3, "?\x81\x61", 0},
  };
  for (const EncodeCase& c : cases) {
    SCOPED_TRACE(c.why);
    const int length = c.length == kWhole ? static_cast<int>(c.units.size()) : c.length;
    const Result8 got = ToBytes(c.cp, c.flags, c.units, length, c.dstSize);
    EXPECT_EQ(got.r, c.r);
    EXPECT_EQ(got.bytes, c.bytes);
    EXPECT_EQ(got.error, c.error);
  }
}

TEST(WideCharToMultiByte, DefaultCharacterAndUsedFlag) {
  struct Case {
    const char* why;
    std::u16string units;
    const char* defaultChar;
    std::string bytes;
    qp::BOOL used;
  } const cases[] = {
      {"mapped text leaves the flag false", u"a\u3042", nullptr, "a\x82\xA0", qp::FALSE_},
      {"the code page's default", u"\u301C", nullptr, "?", qp::TRUE_},
      {"the caller's single-byte default", u"a\u301C", "*", "a*", qp::TRUE_},
      {"a two-byte default starting with a lead byte", u"\u301C", "\x81\x45", "\x81\x45", qp::TRUE_},
      {"best fit is not the default", u"\u00E9", "*", "e", qp::FALSE_},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    qp::BOOL used = 7;  // neither value: the call must set it
    const Result8 got = ToBytes(932, 0, c.units, static_cast<int>(c.units.size()), 64, c.defaultChar, &used);
    EXPECT_EQ(got.bytes, c.bytes);
    EXPECT_EQ(used, c.used);
  }
  // UTF-8 has no default character to take or report.
  qp::BOOL used = 0;
  EXPECT_EQ(ToBytes(65001, 0, u"a", 1, 64, nullptr, &used).error, qp::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(ToBytes(65001, 0, u"a", 1, 64, "?", nullptr).error, qp::ERROR_INVALID_PARAMETER);
}

// A double-byte character must not be split over the end of the buffer, and
// the exact size must suffice; both directions, every size up to the need.
TEST(ConversionBuffers, EverySizeUpToTheNeed) {
  const std::u16string text = u"a\u3042b\u30FC\u3044";
  const int needBytes = qp::WideCharToMultiByte(932, 0, text.data(), -1, nullptr, 0, nullptr, nullptr);
  ASSERT_EQ(needBytes, 9);
  for (int size = 1; size <= needBytes; ++size) {
    const Result8 got = ToBytes(932, 0, text, -1, size);
    EXPECT_EQ(got.r, size == needBytes ? needBytes : 0) << size;
    EXPECT_EQ(got.error, size == needBytes ? qp::ERROR_SUCCESS : qp::ERROR_INSUFFICIENT_BUFFER) << size;
  }
  const std::string bytes = ToBytes(932, 0, text, -1).bytes;
  const int needUnits = qp::MultiByteToWideChar(932, 0, bytes.data(), -1, nullptr, 0);
  ASSERT_EQ(needUnits, 6);
  for (int size = 1; size <= needUnits; ++size) {
    const Result16 got = ToWide(932, 0, bytes, -1, size);
    EXPECT_EQ(got.r, size == needUnits ? needUnits : 0) << size;
  }
  EXPECT_EQ(ToWide(932, 0, bytes, -1).units, text + u'\0');
}

TEST(ConversionBuffers, BadArguments) {
  char16_t units[4] = {u'a', u'b', 0, 0};
  char bytes[8] = "ab";
  const auto mb = [](const char* src, int srcLength, char16_t* dst, int dstLength) {
    qp::SetLastError(0);
    const int r = qp::MultiByteToWideChar(932, 0, src, srcLength, dst, dstLength);
    return std::pair(r, qp::GetLastError());
  };
  const auto wc = [](const char16_t* src, int srcLength, char* dst, int dstLength) {
    qp::SetLastError(0);
    const int r = qp::WideCharToMultiByte(932, 0, src, srcLength, dst, dstLength, nullptr, nullptr);
    return std::pair(r, qp::GetLastError());
  };
  const auto invalid = std::pair(0, qp::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(mb(nullptr, 2, units, 4), invalid);
  EXPECT_EQ(mb(bytes, 2, nullptr, 4), invalid) << "no destination but a size";
  EXPECT_EQ(mb(bytes, 2, units, -1), invalid);
  EXPECT_EQ(mb(bytes, 2, reinterpret_cast<char16_t*>(bytes), 4), invalid) << "source is destination";
  EXPECT_EQ(wc(nullptr, 2, bytes, 8), invalid);
  EXPECT_EQ(wc(units, 2, nullptr, 8), invalid);
  EXPECT_EQ(wc(units, 2, bytes, -1), invalid);
  EXPECT_EQ(wc(units, 2, reinterpret_cast<char*>(units), 8), invalid);
}

TEST(GetCPInfo, ObservedCases) {
  struct Case {
    qp::UINT cp;
    qp::UINT maxCharSize;
    std::vector<qp::BYTE> leadBytes;
  } const cases[] = {
      {932, 2, {0x81, 0x9F, 0xE0, 0xFC}},
      {936, 2, {0x81, 0xFE}},
      {949, 2, {0x81, 0xFE}},
      {950, 2, {0x81, 0xFE}},
      {1361, 2, {0x84, 0xD3, 0xD8, 0xDE, 0xE0, 0xF9}},
      {1252, 1, {}},
      {65001, 4, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.cp);
    qp::CPINFO info;
    std::memset(&info, 0xCC, sizeof info);
    qp::SetLastError(0xDEAD);
    ASSERT_EQ(qp::GetCPInfo(c.cp, &info), qp::TRUE_);
    EXPECT_EQ(qp::GetLastError(), qp::ERROR_SUCCESS);
    EXPECT_EQ(info.MaxCharSize, c.maxCharSize);
    EXPECT_EQ(info.DefaultChar[0], 0x3F);
    EXPECT_EQ(info.DefaultChar[1], 0);
    std::vector<qp::BYTE> lead = c.leadBytes;
    lead.resize(qp::MAX_LEADBYTES, 0);
    EXPECT_EQ(std::vector<qp::BYTE>(info.LeadByte, info.LeadByte + qp::MAX_LEADBYTES), lead);
  }
  qp::CPINFO info{};
  EXPECT_EQ(qp::GetCPInfo(12345, &info), qp::FALSE_);
  EXPECT_EQ(qp::GetLastError(), qp::ERROR_INVALID_PARAMETER);
  EXPECT_EQ(qp::GetCPInfo(932, nullptr), qp::FALSE_);
}

TEST(GetCPInfo, AnsiCodePageStandsForGetAcp) {
  qp::CPINFO viaAcp{}, direct{};
  const bool known = qp::GetCPInfo(qp::GetACP(), &direct);
  ASSERT_EQ(qp::GetCPInfo(qp::CP_ACP, &viaAcp), known ? qp::TRUE_ : qp::FALSE_);
  if (known) {
    EXPECT_EQ(std::memcmp(&viaAcp, &direct, sizeof direct), 0);
  }
}

// Every scalar value through UTF-8 and back, against ICU's encoder.
TEST(Utf8, EveryScalarValueAgreesWithIcu) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    char16_t units[2];
    int32_t unitCount = 0;
    U16_APPEND_UNSAFE(units, unitCount, c);
    char expected[4];
    int32_t expectedLength = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strToUTF8(expected, sizeof expected, &expectedLength, reinterpret_cast<const UChar*>(units),
                unitCount, &status);
    ASSERT_TRUE(U_SUCCESS(status));
    char bytes[4];
    const int n = qp::WideCharToMultiByte(65001, 0, units, unitCount, bytes, 4, nullptr, nullptr);
    ASSERT_EQ(std::string(bytes, n), std::string(expected, expectedLength)) << std::hex << static_cast<std::uint32_t>(c);
    char16_t back[2];
    ASSERT_EQ(qp::MultiByteToWideChar(65001, qp::MB_ERR_INVALID_CHARS, bytes, n, back, 2), unitCount);
    ASSERT_EQ(std::u16string(back, unitCount), std::u16string(units, unitCount)) << std::hex << static_cast<std::uint32_t>(c);
  }
}

}  // namespace
