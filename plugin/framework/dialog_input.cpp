#include "plugin/framework/dialog_input.h"

#include <algorithm>

namespace quornel::vcl {
namespace {

bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

std::size_t PreviousCharacter(const std::u16string& text, std::size_t pos) {
  if (pos == 0) return 0;
  --pos;
  if (pos > 0 && IsLow(text[pos]) && IsHigh(text[pos - 1])) --pos;
  return pos;
}

std::size_t NextCharacter(const std::u16string& text, std::size_t pos) {
  if (pos >= text.size()) return text.size();
  ++pos;
  if (pos < text.size() && IsLow(text[pos]) && IsHigh(text[pos - 1])) ++pos;
  return pos;
}

void CollectButtons(TWinControl& parent, std::vector<TButton*>& out) {
  for (TControl* control : parent.Controls()) {
    if (auto* button = dynamic_cast<TButton*>(control)) out.push_back(button);
    if (auto* win = dynamic_cast<TWinControl*>(control)) CollectButtons(*win, out);
  }
}

}  // namespace

DialogInput::DialogInput(TForm& form) : form_(form), tabOrder_(TabOrderList(form)) {
  Focus(tabOrder_.empty() ? nullptr : tabOrder_.front());
}

void DialogInput::Focus(TWinControl* control) {
  focused_ = control;
  // The caret goes after the proposed text, so Backspace takes it away and
  // typing adds to it; nothing is selected (the edit does not auto-select).
  if (auto* edit = dynamic_cast<TEdit*>(control)) edit->SetSelStart(edit->Text().size());
}

void DialogInput::MoveFocus(int step) {
  if (tabOrder_.empty()) return;
  const auto n = static_cast<int>(tabOrder_.size());
  const auto at = std::find(tabOrder_.begin(), tabOrder_.end(), focused_);
  const int index = at == tabOrder_.end() ? (step > 0 ? -1 : 0) : static_cast<int>(at - tabOrder_.begin());
  Focus(tabOrder_[static_cast<std::size_t>(((index + step) % n + n) % n)]);
}

TButton* DialogInput::DefaultButton() const {
  std::vector<TButton*> buttons;
  CollectButtons(form_, buttons);
  for (TButton* button : buttons) {
    if (button->Default() && button->Visible() && button->Enabled()) return button;
  }
  return nullptr;
}

void DialogInput::Press(KeyPress key) {
  switch (key.key) {
    case Key::Tab:
      MoveFocus(1);
      return;
    case Key::BackTab:
      MoveFocus(-1);
      return;
    case Key::Escape:
      // A terminal has no close box; Escape stands in for it. (There is no
      // cancel button whose role Escape would take.)
      Close();
      return;
    case Key::F1: {
      const int context = EffectiveHelpContext(focused_ != nullptr ? *focused_ : static_cast<TControl&>(form_));
      if (context != 0) {
        if (OnHelpRequest) OnHelpRequest(context);
        form_.InvokeHelp(HELP_CONTEXT, context);
      }
      return;
    }
    case Key::Enter: {
      // A focused button takes Enter itself; otherwise Enter goes to the
      // default button, and does nothing while there is none.
      auto* button = dynamic_cast<TButton*>(focused_);
      if (button == nullptr) button = DefaultButton();
      if (button != nullptr) Click(*button);
      return;
    }
    default:
      break;
  }
  if (auto* edit = dynamic_cast<TEdit*>(focused_)) {
    EditKey(*edit, key);
  } else if (auto* combo = dynamic_cast<TComboBox*>(focused_)) {
    ComboKey(*combo, key);
  } else if (auto* button = dynamic_cast<TButton*>(focused_)) {
    if (key.key == Key::Character && key.ch == U' ') Click(*button);
  }
}

void DialogInput::EditKey(TEdit& edit, KeyPress key) {
  std::u16string text = edit.Text();
  std::size_t caret = std::min(edit.SelStart(), text.size());
  switch (key.key) {
    case Key::Left:
      edit.SetSelStart(PreviousCharacter(text, caret));
      return;
    case Key::Right:
      edit.SetSelStart(NextCharacter(text, caret));
      return;
    case Key::Home:
      edit.SetSelStart(0);
      return;
    case Key::End:
      edit.SetSelStart(text.size());
      return;
    case Key::Backspace: {
      const std::size_t from = PreviousCharacter(text, caret);
      if (from == caret) return;
      text.erase(from, caret - from);
      edit.UserEdit(std::move(text), from);
      return;
    }
    case Key::Delete: {
      const std::size_t to = NextCharacter(text, caret);
      if (to == caret) return;
      text.erase(caret, to - caret);
      edit.UserEdit(std::move(text), caret);
      return;
    }
    case Key::Character: {
      const char32_t c = key.ch;
      if (c < 0x20 || c == 0x7F || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return;
      std::u16string units;
      if (c >= 0x10000) {
        units += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
        units += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        units += static_cast<char16_t>(c);
      }
      text.insert(caret, units);
      edit.UserEdit(std::move(text), caret + units.size());
      return;
    }
    default:
      return;
  }
}

void DialogInput::ComboKey(TComboBox& combo, KeyPress key) {
  // A closed drop-down list steps through its items with the arrow keys and
  // reports each step as the user's choice.
  const int count = static_cast<int>(combo.Items().size());
  if (count == 0) return;
  int index = combo.ItemIndex();
  switch (key.key) {
    case Key::Up:
    case Key::Left:
      index = std::max(0, index - 1);
      break;
    case Key::Down:
    case Key::Right:
      index = std::min(count - 1, index + 1);
      break;
    case Key::Home:
      index = 0;
      break;
    case Key::End:
      index = count - 1;
      break;
    default:
      return;
  }
  if (index != combo.ItemIndex()) combo.UserSelect(index);
}

void DialogInput::Type(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size() && !Done(); ++i) {
    char32_t c = text[i];
    if (IsHigh(text[i]) && i + 1 < text.size() && IsLow(text[i + 1])) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    Press({Key::Character, c});
  }
}

void DialogInput::Click(TButton& button) {
  if (!button.Visible() || !button.Enabled()) return;
  Focus(&button);
  button.Click();
}

void DialogInput::Pick(TComboBox& combo, int index) {
  if (!combo.Visible() || !combo.Enabled()) return;
  Focus(&combo);
  combo.UserSelect(index);
}

}  // namespace quornel::vcl
