// A small stand-in for the UI framework the dialog was designed with: the
// application object, components and controls with the properties and events
// the dialog uses, forms loaded from a text form resource, and a modal show
// that hands the form to a presenter (terminal, scripted, or none).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/winapi.h"

namespace quornel::vcl {

using TColor = std::uint32_t;
// System colours: the high byte marks a system colour index.
inline constexpr TColor clBtnFace = 0xFF00000F;
inline constexpr TColor clWindow = 0xFF000005;
inline constexpr TColor clWindowText = 0xFF000008;

using TModalResult = int;
inline constexpr TModalResult mrNone = 0;
inline constexpr TModalResult mrOk = 1;
inline constexpr TModalResult mrCancel = 2;

// Help commands a form's OnHelp receives.
inline constexpr std::uint16_t HELP_CONTEXT = 0x0001;

inline constexpr std::uint8_t SHIFTJIS_CHARSET = 128;
inline constexpr std::uint8_t DEFAULT_CHARSET = 1;

enum class TBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum class TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TComponent;
class TForm;
using TNotifyEvent = std::function<void(TComponent* sender)>;
// (command, data, callHelp): clearing callHelp keeps the framework from showing help itself.
using THelpEvent = std::function<bool(std::uint16_t command, std::intptr_t data, bool& callHelp)>;

class TApplication {
 public:
  platform::HWND Handle() const { return handle_; }
  void SetHandle(platform::HWND handle) { handle_ = handle; }
  const std::u16string& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::u16string file) { helpFile_ = std::move(file); }

 private:
  platform::HWND handle_ = nullptr;
  std::u16string helpFile_;
};

// The application object of this plug-in module.
TApplication& Application();

// Whether visual themes are available and enabled. The terminal has no theme
// engine; the flag is kept so that forms can react to it as they would on a
// themed desktop (and tests can set it either way). Starts true.
bool ThemeServicesEnabled();
void SetThemeServicesEnabled(bool enabled);

struct TFont {
  std::uint8_t Charset = DEFAULT_CHARSET;
  TColor Color = clWindowText;
  int Height = -11;
  std::u16string Name;
  std::vector<std::string> Style;  // fsBold, fsItalic, ...
};

class TComponent {
 public:
  explicit TComponent(TComponent* owner);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  TComponent* Owner() const { return owner_; }
  // The owned component of that name, or nullptr.
  TComponent* FindComponent(const std::string& name) const;
  const std::vector<std::unique_ptr<TComponent>>& Components() const { return components_; }
  // Takes ownership: the component lives as long as this one.
  TComponent& Adopt(std::unique_ptr<TComponent> component);
  virtual const char* ClassName() const = 0;

 private:
  std::string name_;
  TComponent* owner_;
  std::vector<std::unique_ptr<TComponent>> components_;  // owned: freed with the owner
};

class TWinControl;

class TControl : public TComponent {
 public:
  using TComponent::TComponent;

  TWinControl* Parent() const { return parent_; }
  void SetParent(TWinControl* parent);

  int Left() const { return left_; }
  int Top() const { return top_; }
  virtual int Width() const { return width_; }
  virtual int Height() const { return height_; }
  void SetLeft(int v) { left_ = v; }
  void SetTop(int v) { top_ = v; }
  void SetWidth(int v) { width_ = v; }
  void SetHeight(int v) { height_ = v; }

  // Caption and Text are one window text, as on the desktop.
  const std::u16string& Caption() const { return text_; }
  void SetCaption(std::u16string text) { SetText(std::move(text)); }
  virtual std::u16string Text() const { return text_; }
  // Program-set text: never counts as a user modification.
  void SetText(std::u16string text);

  TColor Color() const { return color_; }
  void SetColor(TColor color) { color_ = color; }
  TFont& Font() { return font_; }
  const TFont& Font() const { return font_; }
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v) { parentFont_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { enabled_ = v; }
  int HelpContext() const { return helpContext_; }
  void SetHelpContext(int v) { helpContext_ = v; }

 protected:
  virtual void TextChanged() {}
  std::u16string text_;

 private:
  TWinControl* parent_ = nullptr;
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
  TColor color_ = clBtnFace;
  TFont font_;
  bool parentFont_ = true;
  bool visible_ = true;
  bool enabled_ = true;
  int helpContext_ = 0;
};

class TWinControl : public TControl {
 public:
  using TControl::TControl;
  // Children in creation order (a control joins its parent's list on SetParent).
  const std::vector<TControl*>& Controls() const { return controls_; }
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int v) { tabOrder_ = v; }
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool v) { tabStop_ = v; }

 private:
  friend class TControl;
  std::vector<TControl*> controls_;
  int tabOrder_ = -1;
  bool tabStop_ = false;
};

class TLabel : public TControl {
 public:
  explicit TLabel(TComponent* owner) : TControl(owner) {}
  const char* ClassName() const override { return "TLabel"; }
};

class TButton : public TWinControl {
 public:
  explicit TButton(TComponent* owner);
  const char* ClassName() const override { return "TButton"; }
  bool Default() const { return default_; }
  void SetDefault(bool v) { default_ = v; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  // A press of the button: its modal result goes to the form first, then OnClick runs.
  void Click();
  TNotifyEvent OnClick;

 private:
  bool default_ = false;
  TModalResult modalResult_ = mrNone;
};

class TPanel : public TWinControl {
 public:
  explicit TPanel(TComponent* owner) : TWinControl(owner) {}
  const char* ClassName() const override { return "TPanel"; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v) { bevelOuter_ = v; }
  // Under visual themes a panel that takes its parent's background ignores its own colour.
  bool ParentBackground() const { return parentBackground_; }
  void SetParentBackground(bool v) { parentBackground_ = v; }

 private:
  TBevelCut bevelOuter_ = TBevelCut::bvRaised;
  bool parentBackground_ = true;
};

class TEdit : public TWinControl {
 public:
  explicit TEdit(TComponent* owner);
  const char* ClassName() const override { return "TEdit"; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v) { readOnly_ = v; }
  bool Modified() const { return modified_; }
  void SetModified(bool v) { modified_ = v; }
  bool AutoSelect() const { return autoSelect_; }
  void SetAutoSelect(bool v) { autoSelect_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut v) { bevelInner_ = v; }
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut v) { bevelOuter_ = v; }
  // The caret, as a UTF-16 index into the text.
  std::size_t SelStart() const { return selStart_; }
  void SetSelStart(std::size_t v) { selStart_ = v < text_.size() ? v : text_.size(); }
  // What the user's typing does: replaces the text, marks it modified, fires
  // OnChange. Refused (false) when read-only.
  bool UserEdit(std::u16string text, std::size_t caret);
  TNotifyEvent OnChange;

 protected:
  void TextChanged() override;

 private:
  bool readOnly_ = false;
  bool modified_ = false;
  bool autoSelect_ = true;
  TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
  TBevelCut bevelInner_ = TBevelCut::bvRaised;
  TBevelCut bevelOuter_ = TBevelCut::bvLowered;
  std::size_t selStart_ = 0;
};

class TComboBox : public TWinControl {
 public:
  explicit TComboBox(TComponent* owner);
  const char* ClassName() const override { return "TComboBox"; }
  std::vector<std::u16string>& Items() { return items_; }
  const std::vector<std::u16string>& Items() const { return items_; }
  int ItemIndex() const { return itemIndex_; }
  // Program-set: fires no OnChange. Out-of-range indexes select nothing (-1).
  void SetItemIndex(int index);
  // The user picked an item (from the list or with the arrow keys): OnChange runs.
  void UserSelect(int index);
  std::u16string Text() const override;
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v) { style_ = v; }
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v) { itemHeight_ = v; }
  TNotifyEvent OnChange;

 private:
  std::vector<std::u16string> items_;
  int itemIndex_ = -1;
  TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
  int itemHeight_ = 13;
};

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner);
  ~TForm() override;
  const char* ClassName() const override { return "TForm"; }

  // Outer size: client area plus the frame of the border style.
  int Width() const override;
  int Height() const override;
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  void SetClientWidth(int v) { clientWidth_ = v; }
  void SetClientHeight(int v) { clientHeight_ = v; }
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle v) { borderStyle_ = v; }
  bool Scaled() const { return scaled_; }
  void SetScaled(bool v) { scaled_ = v; }
  int PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(int v) { pixelsPerInch_ = v; }
  int TextHeight() const { return textHeight_; }
  void SetTextHeight(int v) { textHeight_ = v; }

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult v) { modalResult_ = v; }
  // Hands the form to the current presenter and returns the modal result.
  int ShowModal();
  // The window's close box: the modal loop ends with mrCancel.
  void CloseBox() { modalResult_ = mrCancel; }
  // A help request (F1): OnHelp first; unless it clears callHelp, the help
  // viewer opens the application's help file at `data`.
  bool InvokeHelp(std::uint16_t command, std::intptr_t data);

  TNotifyEvent OnCreate;
  THelpEvent OnHelp;

  // Handlers a form resource may name ("OnClick = ButtonOkClick"); a derived
  // form publishes them before it loads its resource.
  void PublishMethod(const std::string& name, TNotifyEvent handler);
  void PublishMethod(const std::string& name, THelpEvent handler);
  const TNotifyEvent* FindNotifyMethod(const std::string& name) const;
  const THelpEvent* FindHelpMethod(const std::string& name) const;

  // Reads the text form resource into this form: its properties, and the
  // controls it declares (created with this form as owner). Throws
  // std::runtime_error naming the line when the text is not a valid form.
  void LoadFromResource(const std::string& dfmText);

  // Runs OnCreate, as the framework does once the resource is read.
  void DoCreate();

 private:
  int clientWidth_ = 0, clientHeight_ = 0;
  TBorderStyle borderStyle_ = TBorderStyle::bsSizeable;
  bool scaled_ = true;
  int pixelsPerInch_ = 96;
  int textHeight_ = 13;
  TModalResult modalResult_ = mrNone;
  std::map<std::string, TNotifyEvent> notifyMethods_;
  std::map<std::string, THelpEvent> helpMethods_;
};

// The form's focusable controls in tab order (depth first by TabOrder).
std::vector<TWinControl*> TabOrderList(TForm& form);

// The help context for a control: its own, else its parent's, up to the form.
int EffectiveHelpContext(const TControl& control);

class Presenter {
 public:
  virtual ~Presenter();
  // Runs the form's modal loop until its modal result is set; returns it.
  virtual int ShowModal(TForm& form) = 0;
};

// nullptr: back to the default choice, made at each ShowModal: the terminal
// presenter when /dev/tty opens and QUORNEL_NO_TTY is unset, else the
// no-terminal presenter.
void SetPresenter(std::shared_ptr<Presenter> presenter);
std::shared_ptr<Presenter> CurrentPresenter();

// How many dialogs closed unasked (mrCancel) because there was no terminal.
std::size_t UnaskedCount();

}  // namespace quornel::vcl
