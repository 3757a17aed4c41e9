// A presenter for tests that acts as a user would, from a script, and records
// what the dialog showed. One script serves any number of dialogs: each
// ShowModal takes actions from the front until its dialog closes. A dialog
// still open when the script runs out is closed (mrCancel) and marked.
#pragma once

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "plugin/framework/dialog_input.h"
#include "plugin/framework/vcl.h"

namespace quornel::vcl {

struct ControlSnapshot {
  std::string className;
  std::u16string text;  // caption, edit text or chosen item
  TColor color = 0;
  bool readOnly = false;     // edits
  bool modified = false;     // edits
  int itemIndex = -1;        // combo boxes
  bool isDefault = false;    // buttons
  bool parentBackground = false;  // panels
};

struct Snapshot {
  std::u16string caption;
  std::string focused;  // name of the focused control
  std::map<std::string, ControlSnapshot> controls;
  // The named control; a missing name fails loudly in tests (std::out_of_range).
  const ControlSnapshot& operator[](const std::string& name) const { return controls.at(name); }
};

struct DialogRecord {
  std::vector<Snapshot> frames;  // as opened, then after each action
  std::vector<int> helpContexts;
  int result = mrNone;
  bool ranOut = false;  // the script ended with the dialog still open
  const Snapshot& Opened() const { return frames.front(); }
  const Snapshot& Last() const { return frames.back(); }
};

class ScriptedPresenter : public Presenter {
 public:
  struct Action {
    enum class Kind { Type, PickKind, PressEnter, ClickOk, PressF1, Close, Press };
    Kind kind;
    std::u16string text;
    int index = 0;
    KeyPress key;
  };
  // Clicks into the first edit (in tab order), then types the text.
  static Action Type(std::u16string text) { return {Action::Kind::Type, std::move(text), 0, {}}; }
  // Chooses item `index` of the first combo box, as with the mouse.
  static Action PickKind(int index) { return {Action::Kind::PickKind, {}, index, {}}; }
  static Action PressEnter() { return {Action::Kind::PressEnter, {}, 0, {}}; }
  // Clicks the button whose modal result is mrOk.
  static Action ClickOk() { return {Action::Kind::ClickOk, {}, 0, {}}; }
  static Action PressF1() { return {Action::Kind::PressF1, {}, 0, {}}; }
  // The window's close box.
  static Action Close() { return {Action::Kind::Close, {}, 0, {}}; }
  static Action Press(KeyPress key) { return {Action::Kind::Press, {}, 0, key}; }

  ScriptedPresenter() = default;
  explicit ScriptedPresenter(std::vector<Action> script);
  void Add(Action action) { script_.push_back(std::move(action)); }
  void Add(std::vector<Action> actions);

  int ShowModal(TForm& form) override;

  const std::vector<DialogRecord>& Dialogs() const { return dialogs_; }
  std::size_t Remaining() const { return script_.size(); }

  static Snapshot Take(TForm& form, const DialogInput& input);

 private:
  void Perform(DialogInput& input, const Action& action);

  std::deque<Action> script_;
  std::vector<DialogRecord> dialogs_;
};

}  // namespace quornel::vcl
