// Builds a form from its text form resource: the form's own properties, then
// each declared control, created with the form as owner and the enclosing
// object as parent. Events are hooked up last, so that text set while reading
// fires no change notification, as when the designer's values are streamed in.
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "plugin/framework/dfm.h"
#include "plugin/framework/vcl.h"

namespace quornel::vcl {
namespace {

using dfm::ParseError;
using dfm::Property;
using dfm::Value;


[[noreturn]] void Bad(const Property& property, const std::string& why) {
  throw ParseError(property.line, property.name + ": " + why);
}

std::int64_t Integer(const Property& property) {
  if (property.value.kind != Value::Kind::Integer) {
    Bad(property, "expected an integer");
  }
  return property.value.integer;
}

int Int(const Property& property) {
  const std::int64_t value = Integer(property);
  if (value < -1000000 || value > 1000000) {
    Bad(property, "out of range");
  }
  return static_cast<int>(value);
}

bool Bool(const Property& property) {
  if (property.value.kind == Value::Kind::Identifier) {
    if (property.value.identifier == "True") return true;
    if (property.value.identifier == "False") return false;
  }
  Bad(property, "expected True or False");
}

const std::u16string& String(const Property& property) {
  if (property.value.kind != Value::Kind::String) {
    Bad(property, "expected a string");
  }
  return property.value.string;
}

const std::string& Ident(const Property& property) {
  if (property.value.kind != Value::Kind::Identifier) {
    Bad(property, "expected an identifier");
  }
  return property.value.identifier;
}

template <class Enum>
Enum Enumerated(const Property& property, std::initializer_list<std::pair<const char*, Enum>> names) {
  const std::string& name = Ident(property);
  for (const auto& [text, value] : names) {
    if (name == text) {
      return value;
    }
  }
  Bad(property, "unknown value " + name);
}

TColor Color(const Property& property) {
  if (property.value.kind == Value::Kind::Integer) {
    return static_cast<TColor>(property.value.integer);
  }
  static const std::map<std::string, TColor> named = {
      {"clBtnFace", clBtnFace}, {"clWindow", clWindow}, {"clWindowText", clWindowText},
      {"clBlack", 0x000000},    {"clWhite", 0xFFFFFF},  {"clRed", 0x0000FF}};
  const auto found = named.find(Ident(property));
  if (found == named.end()) {
    Bad(property, "unknown colour " + property.value.identifier);
  }
  return found->second;
}

std::uint8_t Charset(const Property& property) {
  if (property.value.kind == Value::Kind::Integer) {
    return static_cast<std::uint8_t>(property.value.integer);
  }
  return Enumerated<std::uint8_t>(property, {{"ANSI_CHARSET", 0},
                                             {"DEFAULT_CHARSET", DEFAULT_CHARSET},
                                             {"SHIFTJIS_CHARSET", SHIFTJIS_CHARSET}});
}

TBevelCut Bevel(const Property& property) {
  return Enumerated<TBevelCut>(property, {{"bvNone", TBevelCut::bvNone},
                                          {"bvLowered", TBevelCut::bvLowered},
                                          {"bvRaised", TBevelCut::bvRaised},
                                          {"bvSpace", TBevelCut::bvSpace}});
}

TBorderStyle Border(const Property& property) {
  return Enumerated<TBorderStyle>(property, {{"bsNone", TBorderStyle::bsNone},
                                             {"bsSingle", TBorderStyle::bsSingle},
                                             {"bsSizeable", TBorderStyle::bsSizeable},
                                             {"bsDialog", TBorderStyle::bsDialog},
                                             {"bsToolWindow", TBorderStyle::bsToolWindow},
                                             {"bsSizeToolWin", TBorderStyle::bsSizeToolWin}});
}

// One property onto one component; false when the component has no such property.
bool ApplyProperty(TComponent& component, const Property& p) {
  const std::string& n = p.name;
  if (auto* form = dynamic_cast<TForm*>(&component)) {
    if (n == "ClientWidth") return form->SetClientWidth(Int(p)), true;
    if (n == "ClientHeight") return form->SetClientHeight(Int(p)), true;
    if (n == "BorderStyle") return form->SetBorderStyle(Border(p)), true;
    if (n == "Scaled") return form->SetScaled(Bool(p)), true;
    if (n == "PixelsPerInch") return form->SetPixelsPerInch(Int(p)), true;
    if (n == "TextHeight") return form->SetTextHeight(Int(p)), true;
  }
  if (auto* button = dynamic_cast<TButton*>(&component)) {
    if (n == "Default") return button->SetDefault(Bool(p)), true;
    if (n == "ModalResult") return button->SetModalResult(Int(p)), true;
  }
  if (auto* panel = dynamic_cast<TPanel*>(&component)) {
    if (n == "BevelOuter") return panel->SetBevelOuter(Bevel(p)), true;
    if (n == "ParentBackground") return panel->SetParentBackground(Bool(p)), true;
  }
  if (auto* edit = dynamic_cast<TEdit*>(&component)) {
    if (n == "Text") return edit->SetText(String(p)), true;
    if (n == "ReadOnly") return edit->SetReadOnly(Bool(p)), true;
    if (n == "AutoSelect") return edit->SetAutoSelect(Bool(p)), true;
    if (n == "BorderStyle") return edit->SetBorderStyle(Border(p)), true;
    if (n == "BevelInner") return edit->SetBevelInner(Bevel(p)), true;
    if (n == "BevelOuter") return edit->SetBevelOuter(Bevel(p)), true;
  }
  if (auto* combo = dynamic_cast<TComboBox*>(&component)) {
    if (n == "Style") {
      return combo->SetStyle(Enumerated<TComboBoxStyle>(
                 p, {{"csDropDown", TComboBoxStyle::csDropDown},
                     {"csSimple", TComboBoxStyle::csSimple},
                     {"csDropDownList", TComboBoxStyle::csDropDownList},
                     {"csOwnerDrawFixed", TComboBoxStyle::csOwnerDrawFixed},
                     {"csOwnerDrawVariable", TComboBoxStyle::csOwnerDrawVariable}})),
             true;
    }
    if (n == "ItemHeight") return combo->SetItemHeight(Int(p)), true;
    if (n == "ItemIndex") return combo->SetItemIndex(Int(p)), true;
    if (n == "Items.Strings") {
      if (p.value.kind != Value::Kind::List) Bad(p, "expected a list of strings");
      combo->Items().clear();
      for (const Value& item : p.value.list) {
        if (item.kind != Value::Kind::String) Bad(p, "expected a list of strings");
        combo->Items().push_back(item.string);
      }
      return true;
    }
  }
  if (auto* win = dynamic_cast<TWinControl*>(&component)) {
    if (n == "TabOrder") return win->SetTabOrder(Int(p)), true;
    if (n == "TabStop") return win->SetTabStop(Bool(p)), true;
  }
  if (auto* control = dynamic_cast<TControl*>(&component)) {
    if (n == "Left") return control->SetLeft(Int(p)), true;
    if (n == "Top") return control->SetTop(Int(p)), true;
    if (n == "Width") return control->SetWidth(Int(p)), true;
    if (n == "Height") return control->SetHeight(Int(p)), true;
    if (n == "Caption" && dynamic_cast<TEdit*>(&component) == nullptr &&
        dynamic_cast<TComboBox*>(&component) == nullptr) {
      return control->SetCaption(String(p)), true;
    }
    if (n == "Color") return control->SetColor(Color(p)), true;
    if (n == "ParentFont") return control->SetParentFont(Bool(p)), true;
    if (n == "Visible") return control->SetVisible(Bool(p)), true;
    if (n == "Enabled") return control->SetEnabled(Bool(p)), true;
    if (n == "HelpContext") return control->SetHelpContext(Int(p)), true;
    if (n == "Font.Charset") return control->Font().Charset = Charset(p), true;
    if (n == "Font.Color") return control->Font().Color = Color(p), true;
    if (n == "Font.Height") return control->Font().Height = Int(p), true;
    if (n == "Font.Name") return control->Font().Name = String(p), true;
    if (n == "Font.Style") {
      if (p.value.kind != Value::Kind::Set) Bad(p, "expected a set");
      control->Font().Style = p.value.set;
      return true;
    }
  }
  return false;
}

bool ApplyEvent(TComponent& component, const Property& p, const TForm& root) {
  const std::string& n = p.name;
  const auto notify = [&]() -> const TNotifyEvent& {
    const TNotifyEvent* handler = root.FindNotifyMethod(Ident(p));
    if (handler == nullptr) Bad(p, "the form has no method " + p.value.identifier);
    return *handler;
  };
  if (auto* form = dynamic_cast<TForm*>(&component)) {
    if (n == "OnCreate") return form->OnCreate = notify(), true;
    if (n == "OnHelp") {
      const THelpEvent* handler = root.FindHelpMethod(Ident(p));
      if (handler == nullptr) Bad(p, "the form has no help method " + p.value.identifier);
      form->OnHelp = *handler;
      return true;
    }
  }
  if (auto* button = dynamic_cast<TButton*>(&component); button && n == "OnClick") {
    return button->OnClick = notify(), true;
  }
  if (auto* edit = dynamic_cast<TEdit*>(&component); edit && n == "OnChange") {
    return edit->OnChange = notify(), true;
  }
  if (auto* combo = dynamic_cast<TComboBox*>(&component); combo && n == "OnChange") {
    return combo->OnChange = notify(), true;
  }
  return false;
}

void ApplyProperties(TComponent& component, const dfm::Object& object, const TForm& root) {
  // ItemIndex waits for the items (the designer writes the list after it),
  // events wait for everything else.
  std::vector<const Property*> late;
  std::vector<const Property*> events;
  for (const Property& p : object.properties) {
    if (p.name.rfind("On", 0) == 0) {
      events.push_back(&p);
    } else if (p.name == "ItemIndex") {
      late.push_back(&p);
    } else if (!ApplyProperty(component, p)) {
      Bad(p, std::string("no such property of ") + component.ClassName());
    }
  }
  for (const Property* p : late) {
    if (!ApplyProperty(component, *p)) Bad(*p, std::string("no such property of ") + component.ClassName());
  }
  for (const Property* p : events) {
    if (!ApplyEvent(component, *p, root)) Bad(*p, std::string("no such event of ") + component.ClassName());
  }
}

std::unique_ptr<TControl> CreateControl(const dfm::Object& object, TForm& owner) {
  static const std::map<std::string, std::function<std::unique_ptr<TControl>(TForm&)>> classes = {
      {"TLabel", [](TForm& o) { return std::make_unique<TLabel>(&o); }},
      {"TButton", [](TForm& o) { return std::make_unique<TButton>(&o); }},
      {"TPanel", [](TForm& o) { return std::make_unique<TPanel>(&o); }},
      {"TEdit", [](TForm& o) { return std::make_unique<TEdit>(&o); }},
      {"TComboBox", [](TForm& o) { return std::make_unique<TComboBox>(&o); }},
  };
  const auto found = classes.find(object.className);
  if (found == classes.end()) {
    throw ParseError(object.line, "class " + object.className + " not found");
  }
  return found->second(owner);
}

void LoadChildren(TWinControl& parent, const dfm::Object& object, TForm& form) {
  for (const dfm::Object& child : object.children) {
    if (form.FindComponent(child.name) != nullptr || child.name == form.Name()) {
      throw ParseError(child.line, "a component named " + child.name + " already exists");
    }
    std::unique_ptr<TControl> created = CreateControl(child, form);
    TControl& control = *created;
    form.Adopt(std::move(created));
    control.SetName(child.name);
    control.SetParent(&parent);
    ApplyProperties(control, child, form);
    if (!child.children.empty()) {
      auto* container = dynamic_cast<TWinControl*>(&control);
      if (container == nullptr) {
        throw ParseError(child.line, child.name + " cannot hold controls");
      }
      LoadChildren(*container, child, form);
    }
  }
}

}  // namespace

void TForm::LoadFromResource(const std::string& dfmText) {
  const dfm::Object root = dfm::Parse(dfmText);
  if (root.className != ClassName()) {
    throw ParseError(root.line, "the resource describes " + root.className + ", not " + ClassName());
  }
  SetName(root.name);
  ApplyProperties(*this, root, *this);
  LoadChildren(*this, root, *this);
}

}  // namespace quornel::vcl
