// The input side of a modal loop, shared by every presenter: focus moves in
// tab order, keys go to the focused control, and mouse-like actions (click a
// button, pick an item, the close box) act as on the desktop. The terminal
// presenter feeds it real keys; the scripted presenter feeds it a script, so
// tests exercise the same rules.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "plugin/framework/vcl.h"

namespace quornel::vcl {

enum class Key { Character, Enter, Tab, BackTab, Escape, F1, Backspace, Delete, Left, Right, Up, Down, Home, End };

struct KeyPress {
  Key key = Key::Character;
  char32_t ch = 0;  // for Key::Character
};

class DialogInput {
 public:
  // Focus starts on the first control in tab order.
  explicit DialogInput(TForm& form);

  TForm& Form() { return form_; }
  TWinControl* Focused() const { return focused_; }
  void Focus(TWinControl* control);
  // The loop is over once the form has a modal result.
  bool Done() const { return form_.ModalResult() != mrNone; }

  void Press(KeyPress key);
  // Each character of the text as a key press (a surrogate pair is one character).
  void Type(std::u16string_view text);
  void Click(TButton& button);
  void Pick(TComboBox& combo, int index);
  void Close() { form_.CloseBox(); }

  // Told of every help request, with the context asked for.
  std::function<void(int context)> OnHelpRequest;

 private:
  void MoveFocus(int step);
  void EditKey(TEdit& edit, KeyPress key);
  void ComboKey(TComboBox& combo, KeyPress key);
  TButton* DefaultButton() const;

  TForm& form_;
  std::vector<TWinControl*> tabOrder_;
  TWinControl* focused_ = nullptr;
};

}  // namespace quornel::vcl
