// The UI framework stand-in: the form resource reader, the dialog's layout as
// read from it, and how text is laid out in terminal cells.
#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>
#include <vector>

#include "plugin/QuornelUSJ/QuornelUSJ.h"
#include "plugin/framework/dfm.h"
#include "plugin/framework/display_text.h"
#include "plugin/framework/vcl.h"

namespace quornel::vcl {
namespace {

const std::u16string kMsGothic = u"ＭＳ ゴシック";
const std::u16string kUiGothic = u"MS UI Gothic";

TEST(FormResource, DialogLayoutIsReadFromTheResource) {
  TFormUSJ form(Application());
  EXPECT_EQ(form.Name(), "FormUSJ");
  EXPECT_EQ(form.ClientWidth(), 222);
  EXPECT_EQ(form.ClientHeight(), 169);
  EXPECT_EQ(form.BorderStyle(), TBorderStyle::bsDialog);
  EXPECT_EQ(form.Color(), clBtnFace);
  EXPECT_EQ(form.HelpContext(), 305);
  EXPECT_FALSE(form.Scaled());
  EXPECT_EQ(form.PixelsPerInch(), 96);
  EXPECT_EQ(form.TextHeight(), 12);
  EXPECT_EQ(form.Left(), 1474);
  EXPECT_EQ(form.Top(), 785);
  EXPECT_EQ(form.Font().Name, u"ＭＳ Ｐゴシック");
  EXPECT_EQ(form.Font().Height, -12);
  EXPECT_EQ(form.Font().Charset, SHIFTJIS_CHARSET);
  EXPECT_EQ(form.Font().Color, clWindowText);
  // The dialog frame adds 3 pixels a side and a 19-pixel title bar.
  EXPECT_EQ(form.Width(), 228);
  EXPECT_EQ(form.Height(), 194);

  struct Row {
    TControl* control;
    const char* parent;
    int left, top, width, height;
    const std::u16string& font;
    int fontHeight;
    int tabOrder;  // -1: not a windowed control
  };
  const Row rows[] = {
      {form.Label1, "FormUSJ", 24, 12, 42, 12, kMsGothic, -12, -1},
      {form.Label2, "FormUSJ", 24, 88, 48, 12, kMsGothic, -12, -1},
      {form.ButtonOk, "FormUSJ", 121, 20, 62, 25, kUiGothic, -12, 2},
      {form.PanelUnicode, "FormUSJ", 20, 28, 61, 49, kMsGothic, -32, 3},
      {form.PanelShiftJIS, "FormUSJ", 20, 104, 181, 49, kMsGothic, -32, 0},
      {form.EditShiftJIS, "PanelShiftJIS", 14, 8, 165, 37, kMsGothic, -32, 0},
      {form.ComboBoxKind, "FormUSJ", 104, 57, 97, 20, kUiGothic, -12, 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.control->Name());
    ASSERT_NE(row.control->Parent(), nullptr);
    EXPECT_EQ(row.control->Parent()->Name(), row.parent);
    EXPECT_EQ(row.control->Left(), row.left);
    EXPECT_EQ(row.control->Top(), row.top);
    EXPECT_EQ(row.control->Width(), row.width);
    EXPECT_EQ(row.control->Height(), row.height);
    EXPECT_FALSE(row.control->ParentFont());
    EXPECT_EQ(row.control->Font().Name, row.font);
    EXPECT_EQ(row.control->Font().Height, row.fontHeight);
    EXPECT_EQ(row.control->Font().Charset, SHIFTJIS_CHARSET);
    EXPECT_EQ(row.control->Font().Color, clWindowText);
    EXPECT_TRUE(row.control->Font().Style.empty());
    if (auto* win = dynamic_cast<TWinControl*>(row.control)) {
      EXPECT_EQ(win->TabOrder(), row.tabOrder);
    }
  }
  // Creation order is the resource's order.
  std::vector<std::string> order;
  for (TControl* control : form.Controls()) order.push_back(control->Name());
  EXPECT_EQ(order, (std::vector<std::string>{"Label1", "Label2", "ButtonOk", "PanelUnicode", "PanelShiftJIS",
                                             "ComboBoxKind"}));

  EXPECT_EQ(form.Label1->Caption(), u"Unicode");
  EXPECT_EQ(form.Label2->Caption(), u"ShiftJIS");
  EXPECT_EQ(form.ButtonOk->Caption(), u"OK");
  EXPECT_EQ(form.ButtonOk->ModalResult(), mrOk);
  EXPECT_FALSE(form.ButtonOk->Default());
  EXPECT_EQ(form.PanelUnicode->Caption(), u"字");
  EXPECT_EQ(form.PanelUnicode->BevelOuter(), TBevelCut::bvLowered);
  EXPECT_EQ(form.PanelShiftJIS->BevelOuter(), TBevelCut::bvLowered);
  EXPECT_EQ(form.PanelShiftJIS->Color(), clWindow);
  EXPECT_EQ(form.PanelShiftJIS->Caption(), u"");
  EXPECT_EQ(form.EditShiftJIS->Text(), u"字");
  EXPECT_FALSE(form.EditShiftJIS->AutoSelect());
  EXPECT_EQ(form.EditShiftJIS->BorderStyle(), TBorderStyle::bsNone);
  EXPECT_EQ(form.EditShiftJIS->BevelInner(), TBevelCut::bvNone);
  EXPECT_EQ(form.EditShiftJIS->BevelOuter(), TBevelCut::bvNone);
  EXPECT_FALSE(form.EditShiftJIS->Modified());
  EXPECT_EQ(form.ComboBoxKind->Style(), TComboBoxStyle::csDropDownList);
  EXPECT_EQ(form.ComboBoxKind->ItemHeight(), 12);
  EXPECT_EQ(form.ComboBoxKind->Items(), (std::vector<std::u16string>{u"ShiftJIS置換", u"置換なし", u"スキップ"}));
  EXPECT_EQ(form.ComboBoxKind->ItemIndex(), 0);
  // Events are wired from the resource, not by hand.
  EXPECT_TRUE(form.OnCreate && form.OnHelp && form.ButtonOk->OnClick && form.EditShiftJIS->OnChange &&
              form.ComboBoxKind->OnChange);

  std::vector<std::string> tabs;
  for (TWinControl* control : TabOrderList(form)) tabs.push_back(control->Name());
  EXPECT_EQ(tabs, (std::vector<std::string>{"EditShiftJIS", "ComboBoxKind", "ButtonOk"}));
}

TEST(FormResource, StringsValuesAndContinuations) {
  const dfm::Object root = dfm::Parse(
      "object A: TForm\n"
      "  S1 = 'it''s'#$41#66\n"
      "  S2 = 'one' +\n"
      "    ' two'\n"
      "  S3 = 'caf\xC3\xA9'\n"
      "  N = -12\n"
      "  H = $FF\n"
      "  F = 1.5\n"
      "  Set = [fsBold, fsItalic]\n"
      "  Empty = []\n"
      "  L = (\n"
      "    'a'\n"
      "    1)\n"
      "  object B: TLabel\n"
      "  end\n"
      "end\n");
  ASSERT_EQ(root.properties.size(), 9u);
  EXPECT_EQ(root.properties[0].value.string, u"it'sAB");
  EXPECT_EQ(root.properties[1].value.string, u"one two");
  EXPECT_EQ(root.properties[2].value.string, u"café");
  EXPECT_EQ(root.properties[3].value.integer, -12);
  EXPECT_EQ(root.properties[4].value.integer, 255);
  EXPECT_DOUBLE_EQ(root.properties[5].value.real, 1.5);
  EXPECT_EQ(root.properties[6].value.set, (std::vector<std::string>{"fsBold", "fsItalic"}));
  EXPECT_TRUE(root.properties[7].value.set.empty());
  ASSERT_EQ(root.properties[8].value.list.size(), 2u);
  EXPECT_EQ(root.properties[8].value.list[1].integer, 1);
  ASSERT_EQ(root.children.size(), 1u);
  EXPECT_EQ(root.children[0].className, "TLabel");
  EXPECT_EQ(root.children[0].line, 14);
}

class TestForm : public TForm {
 public:
  TestForm() : TForm(nullptr) { PublishMethod("Clicked", TNotifyEvent([](TComponent*) {})); }
  const char* ClassName() const override { return "TTestForm"; }
};

TEST(FormResource, BadTextIsRefusedWithItsLine) {
  struct Case {
    const char* text;
    int line;
  };
  const Case cases[] = {
      {"object F: TTestForm\n  Caption = 'open\nend\n", 2},
      {"object F: TTestForm\n  Left = 1\n", 3},                                     // no end
      {"object F: TTestForm\nend\nend\n", 3},                                       // text after the end
      {"object F: TOther\nend\n", 1},                                               // another class
      {"object F: TTestForm\n  object B: TWidget\n  end\nend\n", 2},                // unknown class
      {"object F: TTestForm\n  Colour = clRed\nend\n", 2},                          // unknown property
      {"object F: TTestForm\n  Left = 'x'\nend\n", 2},                              // wrong value kind
      {"object F: TTestForm\n  object B: TButton\n    OnClick = Gone\n  end\nend\n", 3},  // no such handler
      {"object F: TTestForm\n  object B: TButton\n  end\n  object B: TLabel\n  end\nend\n", 4},  // name twice
      {"object F: TTestForm\n  object L: TLabel\n    object M: TLabel\n    end\n  end\nend\n", 2},
      {"object F: TTestForm\n  Caption = #70000\nend\n", 2},
      {"object F: TTestForm\n  Caption = 'a' + 1\nend\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    TestForm form;
    try {
      form.LoadFromResource(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const dfm::ParseError& error) {
      EXPECT_EQ(error.Line(), c.line) << error.what();
    }
  }
}

TEST(FormResource, GarbageNeverCrashesTheReader) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "object A: TLabel\n";
  EXPECT_THROW(dfm::Parse(deep), dfm::ParseError);
  EXPECT_THROW(dfm::Parse("object A: TForm\n L = " + std::string(100000, '(')), dfm::ParseError);

  // Mutations of a real resource: each must parse or be refused, nothing else.
  const std::string base =
      "object F: TTestForm\n  Caption = 'x'#65\n  Font.Style = [fsBold]\n"
      "  object C: TComboBox\n    Items.Strings = (\n      'a'\n      'b')\n    ItemIndex = 5\n  end\nend\n";
  std::mt19937 random(305);
  const std::string alphabet = "object end = : ( ) [ ] , + ' # $ 0 9 - . A z\n";
  for (int round = 0; round < 3000; ++round) {
    std::string text = base;
    for (int edits = 1 + static_cast<int>(random() % 4); edits > 0; --edits) {
      const std::size_t at = random() % (text.size() + 1);
      if (random() % 2 == 0 && at < text.size()) text.erase(at, 1 + random() % 3);
      else text.insert(at, 1, alphabet[random() % alphabet.size()]);
    }
    TestForm form;
    try {
      form.LoadFromResource(text);
    } catch (const dfm::ParseError&) {
    }
  }
}

TEST(FormResource, OutOfRangeItemIndexSelectsNothing) {
  TestForm form;
  form.LoadFromResource(
      "object F: TTestForm\n  object C: TComboBox\n    ItemIndex = 5\n    Items.Strings = (\n"
      "      'a')\n  end\nend\n");
  auto* combo = dynamic_cast<TComboBox*>(form.FindComponent("C"));
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->ItemIndex(), -1);
  EXPECT_EQ(combo->Text(), u"");
}

class DisplayText : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = std::setlocale(LC_CTYPE, nullptr);
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr) GTEST_SKIP() << "no C.UTF-8 locale";
  }
  void TearDown() override { std::setlocale(LC_CTYPE, saved_.c_str()); }
  std::string saved_;
};

TEST_F(DisplayText, CellsLineUpWideCharactersAndNameWhatCannotBeDrawn) {
  struct Case {
    const char* why;
    std::u16string text;
    std::vector<int> widths;
    std::vector<bool> codePoints;
  };
  const std::vector<Case> cases = {
      {"ASCII and a wide wave dash", u"a\u301Cb", {1, 2, 1}, {false, false, false}},
      {"half-width katakana is narrow", u"\uFF71", {1}, {false}},
      {"a surrogate pair is one wide character", u"\U00020BB7", {2}, {false}},
      {"a lone high half shows its code point", u"\xD83D", {6}, {true}},
      {"a lone low half after text", u"x\xDC00", {1, 6}, {false, true}},
      {"halves in the wrong order are two lone halves", u"\xDC00\xD800", {6, 6}, {true, true}},
      {"a combining mark rides on its base", u"e\u0301", {1}, {false}},
      {"a mark with no base gets a dotted circle", u"\u0301", {1}, {false}},
      {"a control character shows its code point", u"\u0007", {6}, {true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const std::vector<DisplayCell> cells = LayoutCells(c.text);
    ASSERT_EQ(cells.size(), c.widths.size());
    int total = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
      EXPECT_EQ(cells[i].width, c.widths[i]) << i;
      EXPECT_EQ(cells[i].codePoint, c.codePoints[i]) << i;
      total += cells[i].width;
    }
    EXPECT_EQ(DisplayWidth(c.text), total);
    EXPECT_EQ(cells.back().end, c.text.size()) << "every unit belongs to a cell";
  }
  EXPECT_EQ(LayoutCells(u"\xD83D")[0].glyph, L"<D83D>");
}

TEST(CodePointLabel, NamesOneUnitOrOnePair) {
  EXPECT_EQ(CodePointLabel(u"\u301C"), "U+301C");
  EXPECT_EQ(CodePointLabel(u"\xD83D"), "U+D83D");
  EXPECT_EQ(CodePointLabel(u"\U0001F600"), "U+1F600");
  EXPECT_EQ(CodePointLabel(u"ab"), "");
  EXPECT_EQ(CodePointLabel(u""), "");
}

}  // namespace
}  // namespace quornel::vcl
