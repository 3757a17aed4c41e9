// The replacement dialog driven as a user would, through the scripted
// presenter (which shares the terminal's key handling).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/help_display.h"
#include "plugin/QuornelUSJ/QuornelUSJ.h"
#include "plugin/framework/scripted_presenter.h"

namespace quornel {
namespace {

using vcl::Key;
using vcl::ScriptedPresenter;
using Action = ScriptedPresenter::Action;
using S = ScriptedPresenter;

constexpr char16_t kWaveDash[] = u"\u301C";        // CP932 has no mapping for it
constexpr char16_t kProposal[] = u"\uFF5E";        // what the round trip offered instead

struct Outcome {
  int result;
  std::u16string edit;
  int kind;
  vcl::DialogRecord record;
};

class DialogTest : public ::testing::Test {
 protected:
  void TearDown() override {
    vcl::SetPresenter(nullptr);
    vcl::SetThemeServicesEnabled(true);
  }

  // Asks about the wave dash with a proposal in the edit, as the filter does.
  static Outcome Ask(std::vector<Action> script, std::u16string proposal = kProposal) {
    auto presenter = std::make_shared<ScriptedPresenter>(std::move(script));
    vcl::SetPresenter(presenter);
    TFormUSJ form(vcl::Application());
    form.PanelUnicode->SetCaption(kWaveDash);
    form.EditShiftJIS->SetText(std::move(proposal));
    const int result = form.ShowModal();
    EXPECT_EQ(result, form.ModalResult());
    return {result, form.EditShiftJIS->Text(), form.ComboBoxKind->ItemIndex(), presenter->Dialogs().at(0)};
  }
};

TEST_F(DialogTest, OpensWithTheUnitAWritableEditAndNoDefaultButton) {
  const Outcome out = Ask({S::Close()});
  const vcl::Snapshot& opened = out.record.Opened();
  EXPECT_EQ(opened.caption, u"ShiftJIS置換文字指定");
  EXPECT_EQ(opened["PanelUnicode"].text, kWaveDash);
  EXPECT_EQ(opened["EditShiftJIS"].text, kProposal);
  EXPECT_FALSE(opened["EditShiftJIS"].readOnly);
  EXPECT_FALSE(opened["EditShiftJIS"].modified) << "text set by the program is no user edit";
  EXPECT_EQ(opened["EditShiftJIS"].color, vcl::clWindow);
  EXPECT_EQ(opened["PanelShiftJIS"].color, vcl::clWindow);
  EXPECT_EQ(opened["ComboBoxKind"].itemIndex, 0);
  EXPECT_EQ(opened["ComboBoxKind"].text, u"ShiftJIS置換");
  EXPECT_FALSE(opened["ButtonOk"].isDefault);
  EXPECT_EQ(opened.focused, "EditShiftJIS");
}

struct Flow {
  const char* why;
  std::vector<Action> script;
  int result;
  std::u16string edit;
  int kind;
};

TEST_F(DialogTest, AnswersComeBackAsTheUserLeftThem) {
  const std::u16string unit = kWaveDash;
  const std::u16string proposal = kProposal;
  const std::vector<Flow> flows = {
      {"Enter right after opening closes nothing; the script then runs out",
       {S::PressEnter()}, vcl::mrCancel, proposal, 0},
      {"one typed character makes OK the default", {S::Type(u"x"), S::PressEnter()}, vcl::mrOk,
       proposal + u"x", 0},
      {"deleting the proposal is typing too", {S::Press({Key::Backspace}), S::PressEnter()}, vcl::mrOk,
       u"", 0},
      {"kind 1 then kind 0 leaves the unit in the edit", {S::PickKind(1), S::PickKind(0), S::PressEnter()},
       vcl::mrOk, unit, 0},
      {"kind 1 with Enter", {S::PickKind(1), S::PressEnter()}, vcl::mrOk, unit, 1},
      {"kind 2 with the OK button", {S::PickKind(2), S::ClickOk()}, vcl::mrOk, unit, 2},
      {"a read-only edit ignores typing", {S::PickKind(2), S::Type(u"x"), S::PressEnter()}, vcl::mrOk,
       unit, 2},
      {"the close box after typing", {S::Type(u"x"), S::Close()}, vcl::mrCancel, proposal + u"x", 0},
      {"the close box after kind 2", {S::PickKind(2), S::Close()}, vcl::mrCancel, unit, 2},
      {"Escape is the close box", {S::Type(u"x"), S::Press({Key::Escape})}, vcl::mrCancel, proposal + u"x", 0},
      {"arrow keys on the kind list choose and make OK the default",
       {S::Press({Key::Tab}), S::Press({Key::Down}), S::Press({Key::Down}), S::PressEnter()},
       vcl::mrOk, unit, 2},
      {"Up at the first kind changes nothing, so Enter still does nothing",
       {S::Press({Key::Tab}), S::Press({Key::Up}), S::PressEnter()}, vcl::mrCancel, proposal, 0},
      {"a focused OK button takes Enter itself",
       {S::Press({Key::Tab}), S::Press({Key::Tab}), S::PressEnter()}, vcl::mrOk, proposal, 0},
      {"Shift-Tab from the edit reaches OK", {S::Press({Key::BackTab}), S::Press({Key::Character, U' '})},
       vcl::mrOk, proposal, 0},
  };
  for (const Flow& flow : flows) {
    SCOPED_TRACE(flow.why);
    const Outcome out = Ask(flow.script);
    EXPECT_EQ(out.result, flow.result);
    EXPECT_EQ(out.edit, flow.edit);
    EXPECT_EQ(out.kind, flow.kind);
  }
}

TEST_F(DialogTest, KindsSwitchTheEditBetweenWritableAndReadOnly) {
  const Outcome out = Ask({S::PickKind(1), S::PickKind(0), S::PickKind(2), S::Close()});
  const auto& frames = out.record.frames;
  ASSERT_EQ(frames.size(), 5u);
  struct Row {
    std::size_t frame;
    bool readOnly;
    vcl::TColor color;
  };
  for (const Row& row : {Row{1, true, vcl::clBtnFace}, Row{2, false, vcl::clWindow}, Row{3, true, vcl::clBtnFace}}) {
    SCOPED_TRACE(row.frame);
    const vcl::Snapshot& shot = frames[row.frame];
    EXPECT_EQ(shot["EditShiftJIS"].text, kWaveDash);
    EXPECT_EQ(shot["EditShiftJIS"].readOnly, row.readOnly);
    EXPECT_EQ(shot["EditShiftJIS"].color, row.color);
    EXPECT_EQ(shot["PanelShiftJIS"].color, row.color);
    EXPECT_TRUE(shot["ButtonOk"].isDefault);
  }
}

TEST_F(DialogTest, EditKeysWorkOnWholeCharacters) {
  // U+20BB7 is a surrogate pair: one character, two units.
  const Outcome out = Ask({S::Type(u"a\U00020BB7b"), S::Press({Key::Left}),
                           S::Press({Key::Backspace}), S::Press({Key::Home}),
                           S::Press({Key::Delete}), S::PressEnter()},
                          u"z");
  EXPECT_EQ(out.result, vcl::mrOk);
  EXPECT_EQ(out.edit, u"ab");
}

class RecordingHelp final : public platform::HelpDisplay {
 public:
  bool ShowTopic(const std::string& topicPath) override {
    shown.push_back(topicPath);
    return true;
  }
  std::vector<std::string> shown;
};

TEST_F(DialogTest, F1OpensTheHelpFileAtTheDialogsContextAndStaysOpen) {
  RecordingHelp help;
  platform::HelpDisplay* previous = platform::SetHelpDisplay(&help);
  const std::string helpFile = QUORNEL_SOURCE_DIR "/resources/help";
  vcl::Application().SetHelpFile(std::u16string(helpFile.begin(), helpFile.end()));

  // Once from the edit, once from the kind list: neither has its own context.
  const Outcome out = Ask({S::PressF1(), S::Press({Key::Tab}), S::PressF1(), S::Close()});

  platform::SetHelpDisplay(previous);
  vcl::Application().SetHelpFile({});
  EXPECT_EQ(out.record.helpContexts, (std::vector<int>{305, 305}));
  EXPECT_EQ(out.result, vcl::mrCancel) << "help must not close the dialog";
  ASSERT_EQ(help.shown.size(), 2u);
  EXPECT_EQ(help.shown[0].rfind(helpFile + "/305.", 0), 0u) << help.shown[0];
  EXPECT_FALSE(out.record.frames[1]["ButtonOk"].isDefault) << "F1 is no answer";
}

TEST_F(DialogTest, ThemesMakeTheEditPanelPaintItsOwnColour) {
  for (const bool themes : {true, false}) {
    vcl::SetThemeServicesEnabled(themes);
    TFormUSJ form(vcl::Application());
    EXPECT_EQ(form.PanelShiftJIS->ParentBackground(), !themes) << themes;
    EXPECT_TRUE(form.PanelUnicode->ParentBackground());
  }
}

TEST_F(DialogTest, EachDialogOfAScriptGetsItsOwnActions) {
  auto presenter = std::make_shared<ScriptedPresenter>(
      std::vector<Action>{S::PickKind(2), S::PressEnter(), S::Type(u"y"), S::ClickOk()});
  vcl::SetPresenter(presenter);
  std::vector<int> kinds;
  for (int i = 0; i < 2; ++i) {
    TFormUSJ form(vcl::Application());
    form.PanelUnicode->SetCaption(kWaveDash);
    EXPECT_EQ(form.ShowModal(), vcl::mrOk);
    kinds.push_back(form.ComboBoxKind->ItemIndex());
  }
  EXPECT_EQ(kinds, (std::vector<int>{2, 0})) << "a new dialog starts in its design state";
  EXPECT_EQ(presenter->Remaining(), 0u);
  EXPECT_FALSE(presenter->Dialogs()[1].ranOut);
}

TEST_F(DialogTest, WithoutATerminalTheDialogActsClosedAndIsCounted) {
  ::setenv("QUORNEL_NO_TTY", "1", 1);
  vcl::SetPresenter(nullptr);
  const std::size_t before = vcl::UnaskedCount();
  TFormUSJ form(vcl::Application());
  form.PanelUnicode->SetCaption(kWaveDash);
  form.ComboBoxKind->UserSelect(1);  // whatever the state, closing wins
  EXPECT_EQ(form.ShowModal(), vcl::mrCancel);
  EXPECT_EQ(vcl::UnaskedCount(), before + 1);
  ::unsetenv("QUORNEL_NO_TTY");
}

}  // namespace
}  // namespace quornel
