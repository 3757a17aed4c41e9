#include "plugin/QuornelUSJ/QuornelUSJ.h"

#include <stdexcept>
#include <string>

#include "plugin/help.h"

namespace quornel {

namespace resources {
extern const char kTFormUSJ[];  // resources/TFORMUSJ.dfm, embedded by the build
}  // namespace resources

TFormUSJ* FormUSJ = nullptr;

namespace {

template <class T>
T* Field(vcl::TForm& form, const char* name) {
  auto* control = dynamic_cast<T*>(form.FindComponent(name));
  if (control == nullptr) {
    throw std::runtime_error(std::string("form resource TFORMUSJ lacks ") + name);
  }
  return control;
}

}  // namespace

TFormUSJ::TFormUSJ(vcl::TApplication& /*owner*/) : vcl::TForm(nullptr) {
  PublishMethod("ComboBoxKindChange", vcl::TNotifyEvent([this](vcl::TComponent* s) { ComboBoxKindChange(s); }));
  PublishMethod("ButtonOkClick", vcl::TNotifyEvent([this](vcl::TComponent* s) { ButtonOkClick(s); }));
  PublishMethod("FormCreate", vcl::TNotifyEvent([this](vcl::TComponent* s) { FormCreate(s); }));
  PublishMethod("EditShiftJISChange", vcl::TNotifyEvent([this](vcl::TComponent* s) { EditShiftJISChange(s); }));
  PublishMethod("FormHelp", vcl::THelpEvent([this](std::uint16_t command, std::intptr_t data, bool& callHelp) {
                  return FormHelp(command, data, callHelp);
                }));
  LoadFromResource(resources::kTFormUSJ);
  ButtonOk = Field<vcl::TButton>(*this, "ButtonOk");
  PanelUnicode = Field<vcl::TPanel>(*this, "PanelUnicode");
  Label1 = Field<vcl::TLabel>(*this, "Label1");
  PanelShiftJIS = Field<vcl::TPanel>(*this, "PanelShiftJIS");
  EditShiftJIS = Field<vcl::TEdit>(*this, "EditShiftJIS");
  Label2 = Field<vcl::TLabel>(*this, "Label2");
  ComboBoxKind = Field<vcl::TComboBox>(*this, "ComboBoxKind");
  DoCreate();
}

void TFormUSJ::FormCreate(vcl::TComponent* /*sender*/) {
  // Under visual themes a panel paints its parent's background; the edit's
  // panel must show its own colour, which tells writable from read-only.
  if (vcl::ThemeServicesEnabled()) {
    PanelShiftJIS->SetParentBackground(false);
  }
}

void TFormUSJ::ComboBoxKindChange(vcl::TComponent* /*sender*/) {
  if (ComboBoxKind->ItemIndex() == 0) {
    EditShiftJIS->SetReadOnly(false);
    EditShiftJIS->SetColor(vcl::clWindow);
    PanelShiftJIS->SetColor(vcl::clWindow);
  } else {
    EditShiftJIS->SetReadOnly(true);
    EditShiftJIS->SetColor(vcl::clBtnFace);
    PanelShiftJIS->SetColor(vcl::clBtnFace);
    EditShiftJIS->SetText(PanelUnicode->Caption());
  }
  if (!ButtonOk->Default()) {
    ButtonOk->SetDefault(true);
  }
}

void TFormUSJ::ButtonOkClick(vcl::TComponent* /*sender*/) {
  // The button's modal result has already closed the dialog with OK; the
  // replacement is taken as typed.
}

bool TFormUSJ::FormHelp(std::uint16_t /*command*/, std::intptr_t data, bool& callHelp) {
  callHelp = false;
  ShowHelpContext(static_cast<std::uint32_t>(data));
  return true;
}

void TFormUSJ::EditShiftJISChange(vcl::TComponent* /*sender*/) {
  if (!ButtonOk->Default() && EditShiftJIS->Modified()) {
    ButtonOk->SetDefault(true);
  }
}

}  // namespace quornel
