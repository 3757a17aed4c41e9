// The help viewer stand-in and the window calls the dialog's placement uses.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/help_display.h"
#include "platform/testing.h"
#include "platform/winapi.h"

namespace quornel::platform {
namespace {

class Recorder final : public HelpDisplay {
 public:
  bool ShowTopic(const std::string& path) override {
    shown.push_back(path);
    return true;
  }
  std::vector<std::string> shown;
};

// A help file with topic 305 in both languages and topic 7 in Japanese only.
class HelpViewer : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("quornel_help_" + std::to_string(::getpid())) / "Quornel.chm";
    std::filesystem::create_directories(dir_);
    for (const char* name : {"305.ja.txt", "305.en.txt", "7.ja.txt"}) std::ofstream(dir_ / name) << name;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
      const char* value = std::getenv(name);
      saved_.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
      ::unsetenv(name);
    }
    file_ = std::u16string(dir_.native().begin(), dir_.native().end());
  }
  void TearDown() override {
    SetHelpDisplay(nullptr);
    std::filesystem::remove_all(dir_.parent_path());
    for (const auto& [name, value] : saved_) {
      if (value) ::setenv(name.c_str(), value->c_str(), 1);
      else ::unsetenv(name.c_str());
    }
  }
  std::string Topic(const char* name) const { return (dir_ / name).string(); }

  std::filesystem::path dir_;
  std::u16string file_;
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(HelpViewer, TopicLanguageFollowsTheUsersLocale) {
  struct Case {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    DWORD context;
    const char* expected;  // nullptr: no topic
  };
  const Case cases[] = {
      {nullptr, nullptr, "ja_JP.UTF-8", 305, "305.ja.txt"},
      {nullptr, nullptr, "en_US.UTF-8", 305, "305.en.txt"},
      {nullptr, nullptr, nullptr, 305, "305.en.txt"},
      {"C", nullptr, "ja_JP.UTF-8", 305, "305.en.txt"},      // LC_ALL decides first
      {"", "ja_JP", "en_US", 305, "305.ja.txt"},               // an empty variable does not count
      {nullptr, nullptr, "en_US.UTF-8", 7, "7.ja.txt"},        // the other language stands in
      {nullptr, nullptr, "ja_JP.UTF-8", 8, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.lang ? c.lang : "-") + " " + std::to_string(c.context));
    const auto set = [](const char* name, const char* value) {
      if (value) ::setenv(name, value, 1);
      else ::unsetenv(name);
    };
    set("LC_ALL", c.lcAll);
    set("LC_MESSAGES", c.lcMessages);
    set("LANG", c.lang);
    EXPECT_EQ(FindHelpTopic(file_, c.context), c.expected ? Topic(c.expected) : "");
  }
  EXPECT_EQ(FindHelpTopic(u"", 305), "");
}

TEST_F(HelpViewer, HelpContextShowsTheTopicOnlyWhereThereIsADisplay) {
  ::setenv("LANG", "ja_JP.UTF-8", 1);
  EXPECT_EQ(HtmlHelpW(nullptr, file_.c_str(), HH_HELP_CONTEXT, 305), nullptr) << "no terminal: nothing shown";

  Recorder recorder;
  SetHelpDisplay(&recorder);
  EXPECT_NE(HtmlHelpW(nullptr, file_.c_str(), HH_HELP_CONTEXT, 305), nullptr);
  EXPECT_EQ(HtmlHelpW(nullptr, file_.c_str(), HH_HELP_CONTEXT, 999), nullptr);
  EXPECT_EQ(HtmlHelpW(nullptr, nullptr, HH_HELP_CONTEXT, 305), nullptr);
  EXPECT_EQ(HtmlHelpW(nullptr, u"", HH_HELP_CONTEXT, 305), nullptr);
  EXPECT_EQ(recorder.shown, (std::vector<std::string>{Topic("305.ja.txt")}));
}

TEST(HelpViewerSession, InitializeHandsOutDistinctCookies) {
  DWORD first = 0;
  DWORD second = 0;
  HtmlHelpW(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<std::uintptr_t>(&first));
  HtmlHelpW(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<std::uintptr_t>(&second));
  EXPECT_NE(first, 0u);
  EXPECT_NE(first, second);
  HtmlHelpW(nullptr, nullptr, HH_UNINITIALIZE, second);
  HtmlHelpW(nullptr, nullptr, HH_UNINITIALIZE, first);
  HtmlHelpW(nullptr, nullptr, HH_INITIALIZE, 0);  // no cookie wanted: nothing written, no crash
}

TEST(WindowRect, OnlyKnownWindowsHaveOne) {
  RECT rect{1, 2, 3, 4};
  SetLastError(0);
  EXPECT_EQ(GetWindowRect(nullptr, &rect), FALSE_);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  int notAWindow = 0;
  EXPECT_EQ(GetWindowRect(&notAWindow, &rect), FALSE_);

  const HWND host = testing::CreateTestWindow(RECT{100, 50, 900, 650});
  ASSERT_EQ(GetWindowRect(host, &rect), TRUE_);
  EXPECT_EQ(rect.left, 100);
  EXPECT_EQ(rect.bottom, 650);
  EXPECT_EQ(GetWindowRect(host, nullptr), FALSE_);
  testing::DestroyTestWindow(host);
  EXPECT_EQ(GetWindowRect(host, &rect), FALSE_);
}

}  // namespace
}  // namespace quornel::platform
