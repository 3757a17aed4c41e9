#include "plugin/framework/vcl.h"

#include <algorithm>

#include "platform/winapi.h"
#include "plugin/framework/presenters.h"

namespace quornel::vcl {

TApplication& Application() {
  static TApplication application;
  return application;
}

namespace {
bool themesEnabled = true;
}  // namespace

bool ThemeServicesEnabled() { return themesEnabled; }
void SetThemeServicesEnabled(bool enabled) { themesEnabled = enabled; }

// --- Components and controls -------------------------------------------------

TComponent::TComponent(TComponent* owner) : owner_(owner) {}
TComponent::~TComponent() = default;

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (const auto& component : components_) {
    if (component->Name() == name) {
      return component.get();
    }
  }
  return nullptr;
}

TComponent& TComponent::Adopt(std::unique_ptr<TComponent> component) {
  components_.push_back(std::move(component));
  return *components_.back();
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ != nullptr) {
    auto& siblings = parent_->controls_;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  parent_ = parent;
  if (parent_ != nullptr) {
    parent_->controls_.push_back(this);
  }
}

void TControl::SetText(std::u16string text) {
  text_ = std::move(text);
  TextChanged();
}

TButton::TButton(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

void TButton::Click() {
  // The form learns the result before OnClick runs, so a handler can still
  // see (or change) why the dialog is about to close.
  if (modalResult_ != mrNone) {
    for (TControl* p = Parent(); p != nullptr; p = p->Parent()) {
      if (auto* form = dynamic_cast<TForm*>(p)) {
        form->SetModalResult(modalResult_);
        break;
      }
    }
  }
  if (OnClick) {
    OnClick(this);
  }
}

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TEdit::TextChanged() {
  // Setting the text from the program resets the modified flag, and the
  // change notification still fires.
  modified_ = false;
  selStart_ = 0;
  if (OnChange) {
    OnChange(this);
  }
}

bool TEdit::UserEdit(std::u16string text, std::size_t caret) {
  if (readOnly_) {
    return false;
  }
  const bool changed = text != text_;
  text_ = std::move(text);
  selStart_ = std::min(caret, text_.size());
  if (changed) {
    modified_ = true;
    if (OnChange) {
      OnChange(this);
    }
  }
  return true;
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner) {
  SetTabStop(true);
  SetColor(clWindow);
}

void TComboBox::SetItemIndex(int index) {
  itemIndex_ = index >= 0 && index < static_cast<int>(items_.size()) ? index : -1;
}

void TComboBox::UserSelect(int index) {
  SetItemIndex(index);
  if (OnChange) {
    OnChange(this);
  }
}

std::u16string TComboBox::Text() const {
  if (style_ == TComboBoxStyle::csDropDownList) {
    return itemIndex_ >= 0 ? items_[static_cast<std::size_t>(itemIndex_)] : std::u16string();
  }
  return text_;
}

// --- Forms --------------------------------------------------------------------

TForm::TForm(TComponent* owner) : TWinControl(owner) {}
TForm::~TForm() = default;

namespace {

struct FrameMetrics {
  int border;   // each side
  int caption;  // title bar height
};

// Classic (unthemed) window metrics at 96 pixels per inch.
FrameMetrics Frame(TBorderStyle style) {
  switch (style) {
    case TBorderStyle::bsNone:
      return {0, 0};
    case TBorderStyle::bsSingle:
    case TBorderStyle::bsDialog:
      return {3, 19};
    case TBorderStyle::bsSizeable:
      return {4, 19};
    case TBorderStyle::bsToolWindow:
      return {3, 15};
    case TBorderStyle::bsSizeToolWin:
      return {4, 15};
  }
  return {0, 0};
}

}  // namespace

int TForm::Width() const { return clientWidth_ + 2 * Frame(borderStyle_).border; }

int TForm::Height() const {
  const FrameMetrics frame = Frame(borderStyle_);
  return clientHeight_ + 2 * frame.border + frame.caption;
}

int TForm::ShowModal() {
  modalResult_ = mrNone;
  const std::shared_ptr<Presenter> presenter = CurrentPresenter();
  const int result = presenter->ShowModal(*this);
  modalResult_ = result == mrNone ? mrCancel : result;
  return modalResult_;
}

bool TForm::InvokeHelp(std::uint16_t command, std::intptr_t data) {
  bool callHelp = true;
  bool handled = false;
  if (OnHelp) {
    handled = OnHelp(command, data, callHelp);
  }
  if (callHelp) {
    const std::u16string& file = Application().HelpFile();
    platform::HtmlHelpW(Application().Handle(), file.c_str(), platform::HH_HELP_CONTEXT,
                        static_cast<std::uintptr_t>(data));
    handled = true;
  }
  return handled;
}

void TForm::PublishMethod(const std::string& name, TNotifyEvent handler) {
  notifyMethods_[name] = std::move(handler);
}

void TForm::PublishMethod(const std::string& name, THelpEvent handler) {
  helpMethods_[name] = std::move(handler);
}

const TNotifyEvent* TForm::FindNotifyMethod(const std::string& name) const {
  const auto found = notifyMethods_.find(name);
  return found == notifyMethods_.end() ? nullptr : &found->second;
}

const THelpEvent* TForm::FindHelpMethod(const std::string& name) const {
  const auto found = helpMethods_.find(name);
  return found == helpMethods_.end() ? nullptr : &found->second;
}

void TForm::DoCreate() {
  if (OnCreate) {
    OnCreate(this);
  }
}

namespace {

void CollectTabOrder(TWinControl& parent, std::vector<TWinControl*>& out) {
  std::vector<TWinControl*> children;
  for (TControl* control : parent.Controls()) {
    if (auto* win = dynamic_cast<TWinControl*>(control); win != nullptr && win->Visible() && win->Enabled()) {
      children.push_back(win);
    }
  }
  std::stable_sort(children.begin(), children.end(), [](const TWinControl* a, const TWinControl* b) {
    return static_cast<unsigned>(a->TabOrder()) < static_cast<unsigned>(b->TabOrder());  // -1 last
  });
  for (TWinControl* child : children) {
    if (child->TabStop()) {
      out.push_back(child);
    }
    CollectTabOrder(*child, out);
  }
}

}  // namespace

std::vector<TWinControl*> TabOrderList(TForm& form) {
  std::vector<TWinControl*> list;
  CollectTabOrder(form, list);
  return list;
}

int EffectiveHelpContext(const TControl& control) {
  for (const TControl* c = &control; c != nullptr; c = c->Parent()) {
    if (c->HelpContext() != 0) {
      return c->HelpContext();
    }
  }
  return 0;
}

// --- Presenters -----------------------------------------------------------------

Presenter::~Presenter() = default;

namespace {
std::shared_ptr<Presenter> chosenPresenter;
}  // namespace

void SetPresenter(std::shared_ptr<Presenter> presenter) { chosenPresenter = std::move(presenter); }

std::shared_ptr<Presenter> CurrentPresenter() {
  if (chosenPresenter) {
    return chosenPresenter;
  }
  static const std::shared_ptr<Presenter> terminal = MakeTerminalPresenter();
  static const std::shared_ptr<Presenter> none = MakeNoTerminalPresenter();
  return TerminalAvailable() ? terminal : none;
}

}  // namespace quornel::vcl
