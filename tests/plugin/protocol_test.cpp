// The plug-in as a host sees it: Quornel.so loaded with dlopen and driven
// through filPlugin and the four callbacks.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>

#include "plugin/plugin.h"

namespace {

class Protocol : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    module_ = dlopen(QUORNEL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module_, nullptr) << dlerror();
    entry_ = reinterpret_cast<decltype(entry_)>(dlsym(module_, "filPlugin"));
    ASSERT_NE(entry_, nullptr);
  }

  TPluginDescriptor Describe() {
    TPluginDescriptor d{};
    d.Reserved = reinterpret_cast<void*>(0x1234);  // the plug-in must clear it
    d.NameBuffer = name_;
    d.VersionBuffer = version_;
    EXPECT_EQ(entry_(&d), 5002);
    return d;
  }

  static std::u16string Exec(const TPluginDescriptor& d, int index, const char16_t* text) {
    TFilterExecInfo info{};
    std::fill(std::begin(info.Unread), std::end(info.Unread), 0xCC);
    info.Index = index;
    info.Text = text;
    const char16_t* result = d.ExecuteProc(&info);
    EXPECT_NE(result, nullptr);
    return result == nullptr ? u"" : result;
  }

  static inline void* module_ = nullptr;
  static inline std::int32_t (*entry_)(TPluginDescriptor*) = nullptr;
  char16_t name_[64]{};
  char16_t version_[128]{};
};

TEST_F(Protocol, DescriptorIsFilledAndTheModuleExportsTheLibrary) {
  const TPluginDescriptor d = Describe();
  EXPECT_EQ(d.FilterCount, 10u);
  EXPECT_EQ(d.Reserved, nullptr);
  EXPECT_NE(d.InitProc, nullptr);
  EXPECT_NE(d.GetNameProc, nullptr);
  EXPECT_NE(d.ExecuteProc, nullptr);
  EXPECT_NE(d.FinishProc, nullptr);
  EXPECT_EQ(std::u16string(name_), u"Unicode補正フィルタ");
  EXPECT_EQ(std::u16string(name_).size(), 13u);
  EXPECT_TRUE(std::u16string(version_).starts_with(u"Ver5.0u"));
  // The string library is exported with the plug-in.
  EXPECT_NE(dlsym(module_, "DefaultAnsiCodePage"), nullptr);
  EXPECT_NE(dlsym(module_, "QuornelGetVersionInfo"), nullptr);
}

TEST_F(Protocol, NamesAndDescriptionsAreExact) {
  const TPluginDescriptor d = Describe();
  struct Row {
    int index;
    std::u16string name;
    std::u16string description;
  };
  const Row rows[] = {
      {0, u"CP932互換文字変換", u"CP932非互換文字をCP932互換文字へ再マッピング"},
      {1, u"CP932互換文字逆変換", u"CP932互換文字をCP932非互換文字へ再マッピング"},
      {2, u"JISX0208互換文字変換", u"JISX0208非互換文字をJISX0208互換文字へ再マッピング"},
      {3, u"JISX0208互換文字逆変換", u"JISX0208互換文字をJISX0208非互換文字へ再マッピング"},
      {4, u"JISX0213 \u21D2 JISX0208", u"JISX0213常用漢字をJISX0208互換文字へ再マッピング"},
      {5, u"JISX0208 \u21D2 JISX0213", u"新常用漢字のうちJISX0208に存在しない文字を再マッピング"},
      {6, u"NFC正規化", u"Unicode文字列をNFCで正規化"},
      {7, u"NFD正規化", u"Unicode文字列をNFDで正規化"},
      {8, u"ShiftJIS自動変換", u"ShiftJIS表示不可文字を自動的に表示可能な文字に変換"},
      {9, u"ShiftJIS指定置換", u"ShiftJIS表示不可文字を指定した表示可能な文字に置換"},
  };
  for (const Row& row : rows) {
    char16_t name[64];
    char16_t description[64];
    std::fill(std::begin(name), std::end(name), u'#');
    std::fill(std::begin(description), std::end(description), u'#');
    TFilterNameInfo info{row.index, name, description};
    d.GetNameProc(&info);
    EXPECT_EQ(std::u16string(name), row.name) << row.index;
    EXPECT_EQ(std::u16string(description), row.description) << row.index;
    // Nothing is written past the terminator.
    EXPECT_EQ(name[row.name.size() + 1], u'#');
  }
  char16_t name[64] = u"untouched";
  TFilterNameInfo outside{10, name, name};
  d.GetNameProc(&outside);
  EXPECT_EQ(std::u16string(name), u"untouched");
}

TEST_F(Protocol, EveryFilterGivesAnEmptyResultForEmptyOrNullText) {
  const TPluginDescriptor d = Describe();
  TPluginInitInfo init{nullptr, nullptr, nullptr};
  d.InitProc(&init);
  for (int index = 0; index <= 8; ++index) {
    EXPECT_EQ(Exec(d, index, u""), u"") << index;
    EXPECT_EQ(Exec(d, index, nullptr), u"") << index;
  }
  EXPECT_EQ(Exec(d, 9, u""), u"");
  d.FinishProc();
}

TEST_F(Protocol, AnIndexOutsideTheTableGivesAnEmptyResultAndKeepsTheLastOne) {
  const TPluginDescriptor d = Describe();
  TPluginInitInfo init{nullptr, u"", u""};
  d.InitProc(&init);
  TFilterExecInfo info{};
  info.Index = 1;
  info.Text = u"\u2015";
  const char16_t* first = d.ExecuteProc(&info);
  for (const int index : {-1, 10, 1000}) {
    EXPECT_EQ(Exec(d, index, u"abc"), u"") << index;
  }
  EXPECT_EQ(std::u16string(first), u"\u2014");
  d.FinishProc();
}

TEST_F(Protocol, EachFilterRunsItsRoutine) {
  const TPluginDescriptor d = Describe();
  TPluginInitInfo init{nullptr, u"", u""};
  d.InitProc(&init);
  struct Row {
    int index;
    std::u16string input;
    std::u16string expected;
  };
  const Row rows[] = {
      {0, u"\u2212\u2014\u525D", u"\uFF0D\u2015\u5265"},
      {1, u"\u2015\uFFE3", u"\u2014\u203E"},
      {2, u"\u301C\u00A2", u"\uFF5E\uFFE0"},
      {3, u"\uFF5E\uFFE0", u"\u301C\u00A2"},
      {4, u"\u9830\U00020B9F", u"\u982C\u53F1"},
      {5, u"\u982C\u53F1", u"\u9830\U00020B9F"},
      {6, u"\u304B\u3099", u"\u304C"},
      {7, u"\u304C", u"\u304B\u3099"},
      // ¥ fits to a backslash; the wave dash would become "?" and so stays.
      {8, u"\u00A5\u301C\u00E9", u"\\\u301Ce"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(Exec(d, row.index, row.input.c_str()), row.expected) << row.index;
  }
  d.FinishProc();
}

}  // namespace

namespace {

// A host may hand a result straight back as the next text without copying
// it; each filter must read it before writing over it.
TEST_F(Protocol, AResultHandedBackAsTheNextTextIsReadWhole) {
  const TPluginDescriptor d = Describe();
  TPluginInitInfo init{nullptr, u"", u""};
  d.InitProc(&init);
  const std::u16string text = u"9時\u301C17時\u2212\u525D\u304B\u3099\u00E9 and more text";
  for (int index = 0; index <= 8; ++index) {
    const std::u16string twice = Exec(d, index, Exec(d, index, text.c_str()).c_str());
    TFilterExecInfo info{};
    info.Index = index;
    info.Text = text.c_str();
    info.Text = d.ExecuteProc(&info);  // the plug-in's own result as input
    EXPECT_EQ(std::u16string(d.ExecuteProc(&info)), twice) << index;
  }
  d.FinishProc();
}

}  // namespace
