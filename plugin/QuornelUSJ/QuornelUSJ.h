// The replacement dialog: shows one UTF-16 unit that does not survive the
// ANSI round trip and asks what should stand in for it, and how (the kind).
#pragma once

#include <cstdint>

#include "plugin/export.h"
#include "plugin/framework/vcl.h"

namespace quornel {

class TFormUSJ : public vcl::TForm {
 public:
  // Reads the form resource TFORMUSJ, then runs OnCreate.
  explicit TFormUSJ(vcl::TApplication& owner);
  const char* ClassName() const override { return "TFormUSJ"; }

  // Controls, in declaration order; owned by the form.
  vcl::TButton* ButtonOk = nullptr;
  vcl::TPanel* PanelUnicode = nullptr;
  vcl::TLabel* Label1 = nullptr;
  vcl::TPanel* PanelShiftJIS = nullptr;
  vcl::TEdit* EditShiftJIS = nullptr;
  vcl::TLabel* Label2 = nullptr;
  vcl::TComboBox* ComboBoxKind = nullptr;

  void ComboBoxKindChange(vcl::TComponent* sender);
  void ButtonOkClick(vcl::TComponent* sender);
  void FormCreate(vcl::TComponent* sender);
  bool FormHelp(std::uint16_t command, std::intptr_t data, bool& callHelp);
  void EditShiftJISChange(vcl::TComponent* sender);
};

// The dialog being asked, set by whoever creates it.
QUORNEL_PLUGIN_API extern TFormUSJ* FormUSJ;

}  // namespace quornel
