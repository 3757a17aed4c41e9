// Filter 9: every unit the ANSI code page cannot show as itself is replaced
// by a remembered answer, or by what the user says in the dialog.
#include <memory>

#include "platform/winapi.h"
#include "plugin/QuornelUSJ/QuornelUSJ.h"
#include "plugin/ansi_round_trip.h"
#include "plugin/filters.h"
#include "plugin/framework/vcl.h"
#include "plugin/state.h"

namespace quornel::plugin {
namespace {

namespace pf = quornel::platform;

struct Answer {
  std::u16string text;
  bool remember = false;
};

// One question, one fresh dialog in its design state.
Answer Ask(char16_t unit, std::u16string_view roundTrip) {
  vcl::TApplication& application = vcl::Application();
  auto form = std::make_unique<quornel::TFormUSJ>(application);
  quornel::FormUSJ = form.get();
  form->PanelUnicode->SetCaption(std::u16string(1, unit));
  form->EditShiftJIS->SetText(roundTrip == u"?" ? std::u16string() : std::u16string(roundTrip));
  // Centred on the host window; without one the presenter places the dialog
  // itself (the terminal presenter centres it on the terminal).
  pf::RECT rect{};
  if (pf::GetWindowRect(application.Handle(), &rect)) {
    form->SetLeft(rect.left + (rect.right - rect.left) / 2 - form->Width() / 2);
    form->SetTop(rect.top + (rect.bottom - rect.top) / 2 - form->Height() / 2);
  }
  Answer answer;
  if (form->ShowModal() == vcl::mrOk) {
    answer.text = form->EditShiftJIS->Text();
    const int kind = form->ComboBoxKind->ItemIndex();
    answer.remember = kind == 0 || kind == 1;
  } else {
    answer.text = form->PanelUnicode->Caption();  // closed: the unit stays
  }
  form.reset();
  quornel::FormUSJ = nullptr;
  return answer;
}

}  // namespace

const char16_t* FilterShiftJISReplace(const TFilterExecInfo* info, std::u16string& result) {
  std::u16string spare;
  const std::u16string_view text = InputApartFrom(info, result, spare);
  result.clear();
  const UnitRoundTrips& trips = UnitRoundTrips::ForAnsiCodePage();
  PluginState& state = State();
  if (!state.Table) state.Table.emplace();  // run before initialization: nothing is remembered for long
  result.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    // Units the code page shows as themselves go over in runs.
    std::size_t run = i;
    while (run < text.size() && trips.Survives(text[run])) ++run;
    result.append(text.substr(i, run - i));
    if (run == text.size()) break;
    const char16_t unit = text[run];
    std::u16string_view replacement;
    if (state.Table->Find(unit, replacement)) {
      result.append(replacement);
    } else {
      const Answer answer = Ask(unit, trips.RoundTrip(unit));
      result.append(answer.text);
      if (answer.remember) state.Table->Remember(unit, answer.text);
    }
    i = run + 1;
  }
  return ResultPointer(result);
}

}  // namespace quornel::plugin
