#include "plugin/framework/scripted_presenter.h"

namespace quornel::vcl {
namespace {

template <class T>
T* FirstInTabOrder(TForm& form) {
  for (TWinControl* control : TabOrderList(form)) {
    if (auto* found = dynamic_cast<T*>(control)) return found;
  }
  return nullptr;
}

TButton* OkButton(TForm& form) {
  for (TWinControl* control : TabOrderList(form)) {
    if (auto* button = dynamic_cast<TButton*>(control); button && button->ModalResult() == mrOk) return button;
  }
  return nullptr;
}

}  // namespace

ScriptedPresenter::ScriptedPresenter(std::vector<Action> script) : script_(script.begin(), script.end()) {}

void ScriptedPresenter::Add(std::vector<Action> actions) {
  for (Action& action : actions) script_.push_back(std::move(action));
}

Snapshot ScriptedPresenter::Take(TForm& form, const DialogInput& input) {
  Snapshot snapshot;
  snapshot.caption = form.Caption();
  snapshot.focused = input.Focused() != nullptr ? input.Focused()->Name() : "";
  for (const auto& component : form.Components()) {
    const auto* control = dynamic_cast<const TControl*>(component.get());
    if (control == nullptr) continue;
    ControlSnapshot shot;
    shot.className = control->ClassName();
    shot.text = control->Text();
    shot.color = control->Color();
    if (const auto* edit = dynamic_cast<const TEdit*>(control)) {
      shot.readOnly = edit->ReadOnly();
      shot.modified = edit->Modified();
    } else if (const auto* combo = dynamic_cast<const TComboBox*>(control)) {
      shot.itemIndex = combo->ItemIndex();
    } else if (const auto* button = dynamic_cast<const TButton*>(control)) {
      shot.isDefault = button->Default();
    } else if (const auto* panel = dynamic_cast<const TPanel*>(control)) {
      shot.parentBackground = panel->ParentBackground();
    }
    snapshot.controls[control->Name()] = std::move(shot);
  }
  return snapshot;
}

void ScriptedPresenter::Perform(DialogInput& input, const Action& action) {
  TForm& form = input.Form();
  switch (action.kind) {
    case Action::Kind::Type:
      if (auto* edit = FirstInTabOrder<TEdit>(form)) input.Focus(edit);
      input.Type(action.text);
      break;
    case Action::Kind::PickKind:
      if (auto* combo = FirstInTabOrder<TComboBox>(form)) input.Pick(*combo, action.index);
      break;
    case Action::Kind::PressEnter:
      input.Press({Key::Enter, 0});
      break;
    case Action::Kind::ClickOk:
      if (auto* ok = OkButton(form)) input.Click(*ok);
      break;
    case Action::Kind::PressF1:
      input.Press({Key::F1, 0});
      break;
    case Action::Kind::Close:
      input.Close();
      break;
    case Action::Kind::Press:
      input.Press(action.key);
      break;
  }
}

int ScriptedPresenter::ShowModal(TForm& form) {
  dialogs_.emplace_back();
  // The record is reached by index: a help handler could open another dialog.
  const std::size_t at = dialogs_.size() - 1;
  DialogInput input(form);
  input.OnHelpRequest = [this, at](int context) { dialogs_[at].helpContexts.push_back(context); };
  dialogs_[at].frames.push_back(Take(form, input));
  while (!input.Done()) {
    if (script_.empty()) {
      dialogs_[at].ranOut = true;
      input.Close();
      break;
    }
    const Action action = script_.front();
    script_.pop_front();
    Perform(input, action);
    dialogs_[at].frames.push_back(Take(form, input));
  }
  dialogs_[at].result = form.ModalResult();
  return form.ModalResult();
}

}  // namespace quornel::vcl
