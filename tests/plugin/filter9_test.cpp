// Filter 9 through the real entry points, with a scripted user: what it
// asks, what it appends, what it remembers and what the table file holds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "common/files.h"
#include "platform/testing.h"
#include "plugin/QuornelUSJ/QuornelUSJ.h"
#include "plugin/framework/scripted_presenter.h"
#include "plugin/host_extensions.h"
#include "plugin/plugin.h"

namespace {

using quornel::testing::ReadFile;
using quornel::testing::Utf16Bytes;

namespace fs = std::filesystem;
using quornel::vcl::ScriptedPresenter;
using S = ScriptedPresenter;

std::string TableFile(std::u16string_view entriesWithBreaks) {
  return "\xFF\xFE" + Utf16Bytes(entriesWithBreaks);
}

class Filter9 : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("quornel-f9-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    ASSERT_EQ(filPlugin(&descriptor_), 5002);
    (void)QuornelTakeMessages();
  }
  void TearDown() override {
    if (initialized_) descriptor_.FinishProc();
    quornel::vcl::SetPresenter(nullptr);
    fs::remove_all(dir_);
  }

  fs::path Table() const { return dir_ / "Quornel_SJIS.tbl"; }

  void Init(std::vector<ScriptedPresenter::Action> script, void* window = nullptr) {
    presenter_ = std::make_shared<ScriptedPresenter>(std::move(script));
    quornel::vcl::SetPresenter(presenter_);
    firstPath_ = fs::path(dir_ / "host.ini").u16string();
    TPluginInitInfo info{window, firstPath_.c_str(), u"second"};
    descriptor_.InitProc(&info);
    initialized_ = true;
  }
  std::u16string Run(const std::u16string& text) {
    TFilterExecInfo info{};
    info.Index = 9;
    info.Text = text.c_str();
    return descriptor_.ExecuteProc(&info);
  }
  void Finish() {
    descriptor_.FinishProc();
    initialized_ = false;
  }
  const std::vector<quornel::vcl::DialogRecord>& Dialogs() const { return presenter_->Dialogs(); }

  fs::path dir_;
  TPluginDescriptor descriptor_{};
  std::u16string firstPath_;
  std::shared_ptr<ScriptedPresenter> presenter_;
  bool initialized_ = false;
};

TEST_F(Filter9, RemembersKindsZeroAndOneAndWritesThemFrontFirst) {
  Init({S::Type(u"\uFF5E"), S::PressEnter(), S::PickKind(1), S::ClickOk()});
  // The wave dash twice and a heart: one question each, the second wave dash
  // comes from the table.
  EXPECT_EQ(Run(u"a\u301Cb\u301C\u2665c"), u"a\uFF5Eb\uFF5E\u2665c");
  ASSERT_EQ(Dialogs().size(), 2u);
  EXPECT_EQ(Dialogs()[0].Opened()["PanelUnicode"].text, u"\u301C");
  EXPECT_EQ(Dialogs()[0].Opened()["EditShiftJIS"].text, u"") << "its round trip gives ?";
  EXPECT_EQ(Dialogs()[1].result, 1);
  // Later runs replace silently.
  EXPECT_EQ(Run(u"\u2665\u301C"), u"\u2665\uFF5E");
  EXPECT_EQ(Dialogs().size(), 2u);
  Finish();
  EXPECT_EQ(ReadFile(Table()), TableFile(u"\u301C\uFF5E\r\n\u2665\u2665\r\n"))
      << "the last hit moved the wave dash to the front";
}

TEST_F(Filter9, SkippedOrClosedUnitsStayAndAreAskedAgain) {
  Init({S::PickKind(2), S::ClickOk(), S::Close(), S::Type(u"x"), S::Close()});
  EXPECT_EQ(Run(u"\u301C\u301C\u301C"), u"\u301C\u301C\u301C");
  ASSERT_EQ(Dialogs().size(), 3u);
  EXPECT_TRUE(Dialogs()[0].Last()["EditShiftJIS"].readOnly);
  EXPECT_EQ(Dialogs()[2].result, 2) << "closing wins over what the edit holds";
  Finish();
  EXPECT_FALSE(fs::exists(Table())) << "nothing to remember, nothing written";
}

TEST_F(Filter9, AnEmptyAnswerRemovesTheUnitFromNowOn) {
  Init({S::PickKind(0), S::PressEnter()});
  EXPECT_EQ(Run(u"a\u2665b\u2665"), u"ab");
  EXPECT_EQ(Dialogs().size(), 1u);
  Finish();
  EXPECT_EQ(ReadFile(Table()), TableFile(u"\u2665\r\n"));
}

TEST_F(Filter9, AFittedUnitIsProposedAndEachSurrogateHalfAskedAlone) {
  Init({S::PressEnter(), S::ClickOk(), S::Close(), S::Close()});
  // é fits to "e": the dialog proposes it; Enter alone does nothing until
  // OK is the default, so the click answers.
  EXPECT_EQ(Run(u"\u00E9"), u"e");
  EXPECT_EQ(Dialogs()[0].Opened()["EditShiftJIS"].text, u"e");
  EXPECT_EQ(Run(u"\U0001F600"), u"\U0001F600");
  ASSERT_EQ(Dialogs().size(), 3u);
  EXPECT_EQ(Dialogs()[1].Opened()["PanelUnicode"].text, std::u16string(1, char16_t{0xD83D}));
  EXPECT_EQ(Dialogs()[2].Opened()["PanelUnicode"].text, std::u16string(1, char16_t{0xDE00}));
}

TEST_F(Filter9, HelpIsLookedForBesideTheHostsExecutable) {
  Init({});
  const fs::path exe = fs::read_symlink("/proc/self/exe");
  EXPECT_EQ(quornel::vcl::Application().HelpFile(), (exe.parent_path() / "Quornel.chm").u16string());
}

TEST_F(Filter9, TextTheCodePageHoldsPassesWithoutQuestions) {
  Init({});
  EXPECT_EQ(Run(u""), u"");
  EXPECT_EQ(Run(u"日本語のテキスト ～ － abc?"), u"日本語のテキスト ～ － abc?");
  EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Filter9, AHitBehindTheFrontRewritesTheFile) {
  std::ofstream(Table(), std::ios::binary) << TableFile(u"\u301C\uFF5E\r\n\r\n\u2665<3\r\nlast");
  Init({});
  EXPECT_EQ(Run(u"\u2665"), u"<3");
  Finish();
  EXPECT_EQ(ReadFile(Table()), TableFile(u"\u2665<3\r\n\u301C\uFF5E\r\n\r\nlast\r\n"));
}

TEST_F(Filter9, OnlyFrontHitsLeaveTheFileAlone) {
  const std::string bytes = TableFile(u"\u301CX\r\n\u2665Y\r\n");
  std::ofstream(Table(), std::ios::binary) << bytes;
  const auto before = fs::last_write_time(Table());
  Init({});
  EXPECT_EQ(Run(u"\u301C\u301C"), u"XX");
  Finish();
  EXPECT_EQ(ReadFile(Table()), bytes);
  EXPECT_EQ(fs::last_write_time(Table()), before);
}

TEST_F(Filter9, AnAnsiTableIsSavedBackAsUtf16) {
  // Written by another tool in CP932, without a byte order mark.
  std::ofstream(Table(), std::ios::binary) << "\x81\x45" "A\r\n" "\xA1\r\n";
  Init({S::Type(u"*"), S::PressEnter()});
  EXPECT_EQ(Run(u"\u2665"), u"*");
  Finish();
  EXPECT_EQ(ReadFile(Table()), TableFile(u"\u2665*\r\n\u30FBA\r\n\uFF61\r\n"));
}

TEST_F(Filter9, TheDialogIsCentredOnTheHostWindow) {
  struct Placement : quornel::vcl::Presenter {
    int ShowModal(quornel::vcl::TForm& form) override {
      left = form.Left();
      top = form.Top();
      width = form.Width();
      height = form.Height();
      return quornel::vcl::mrCancel;
    }
    int left = 0, top = 0, width = 0, height = 0;
  };
  const quornel::platform::RECT rect{100, 50, 901, 650};
  void* window = quornel::platform::testing::CreateTestWindow(rect);
  Init({}, window);
  auto placement = std::make_shared<Placement>();
  quornel::vcl::SetPresenter(placement);
  Run(u"\u2665");
  EXPECT_EQ(placement->left, 100 + 801 / 2 - placement->width / 2);
  EXPECT_EQ(placement->top, 50 + 600 / 2 - placement->height / 2);
  quornel::platform::testing::DestroyTestWindow(window);
}

TEST_F(Filter9, AnUnreadableTableIsNeitherLostNorOverwritten) {
  // Reading /proc/self/mem at offset 0 fails even for root.
  fs::create_symlink("/proc/self/mem", Table());
  Init({S::Type(u"~"), S::PressEnter()});
  EXPECT_NE(std::string(QuornelTakeMessages()).find("cannot read"), std::string::npos);
  EXPECT_EQ(Run(u"\u301C"), u"~");
  Finish();
  EXPECT_TRUE(fs::is_symlink(Table()));
  EXPECT_NE(std::string(QuornelTakeMessages()).find("new answers were not saved"),
            std::string::npos);
}

TEST_F(Filter9, ATableThatCannotBeWrittenIsReportedNotThrown) {
  firstPath_.clear();
  presenter_ = std::make_shared<ScriptedPresenter>(std::vector{S::Type(u"~"), S::PressEnter()});
  quornel::vcl::SetPresenter(presenter_);
  const std::u16string missing = fs::path(dir_ / "no" / "such" / "dir" / "x").u16string();
  TPluginInitInfo info{nullptr, missing.c_str(), nullptr};
  descriptor_.InitProc(&info);
  initialized_ = true;
  EXPECT_EQ(Run(u"\u301C"), u"~");
  Finish();
  EXPECT_NE(std::string(QuornelTakeMessages()).find("this run's answers are lost"),
            std::string::npos);
}

TEST_F(Filter9, WithoutATerminalUnitsStayAndAreCounted) {
  Init({});
  quornel::vcl::SetPresenter(nullptr);
  setenv("QUORNEL_NO_TTY", "1", 1);
  EXPECT_EQ(Run(u"a\u301C\u2665"), u"a\u301C\u2665");
  unsetenv("QUORNEL_NO_TTY");
  EXPECT_NE(std::string(QuornelTakeMessages()).find("2 unit(s)"), std::string::npos);
}

}  // namespace
