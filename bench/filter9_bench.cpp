// Filter 9 on a text whose every unit the code page cannot show is already
// remembered, so no dialog opens: the cost of the lookups against filter 8
// on the same text.
#include <cstdio>
#include <memory>
#include <set>

#include "bench/ratio.h"
#include "plugin/ansi_round_trip.h"
#include "plugin/filters.h"
#include "plugin/framework/vcl.h"
#include "plugin/state.h"

namespace quornel::bench {
namespace {

// Any dialog here would be a fault in the set-up: it answers "closed" and says so.
class NoQuestions : public vcl::Presenter {
 public:
  int ShowModal(vcl::TForm&) override {
    std::fprintf(stderr, "filter 9 benchmark: a unit was not in the table\n");
    return vcl::mrCancel;
  }
};

void Filter9AllRemembered(benchmark::State& state, const Corpus& corpus) {
  vcl::SetPresenter(std::make_shared<NoQuestions>());
  const plugin::UnitRoundTrips& trips = plugin::UnitRoundTrips::ForAnsiCodePage();
  std::set<char16_t> units;
  for (const char16_t u : corpus.text) {
    if (!trips.Survives(u)) units.insert(u);
  }
  plugin::PluginState& plugin = plugin::State();
  plugin.Table.emplace();
  for (const char16_t u : units) plugin.Table->Remember(u, u"\u3013");  // geta mark
  state.counters["remembered"] = static_cast<double>(units.size());

  TFilterExecInfo info{};
  info.Index = 9;
  info.Text = corpus.text.c_str();
  std::u16string result;
  for (auto _ : state) {
    const char16_t* out = plugin::FilterShiftJISReplace(&info, result);
    benchmark::DoNotOptimize(out);
  }
  plugin.Table.reset();
  vcl::SetPresenter(nullptr);
}

const bool registered = [] {
  RegisterPerCorpus("Filter9_AllRemembered", Filter9AllRemembered);
  RegisterRatio("Filter9_AllRemembered", "Filter8_ShiftJISAuto", 0);
  return true;
}();

}  // namespace
}  // namespace quornel::bench
