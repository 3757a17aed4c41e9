// Runs the benchmarks, then prints every registered ratio with its target.
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/ratio.h"

namespace quornel::bench {
namespace {

struct Ratio {
  std::string subject;
  std::string baseline;
  double maxRatio;
};

std::vector<Ratio>& Ratios() {
  static std::vector<Ratio> ratios;
  return ratios;
}

// Keeps the console output and remembers each run's time per iteration.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.iterations == 0) continue;
      times_[run.benchmark_name()] = run.real_accumulated_time / static_cast<double>(run.iterations);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  const std::map<std::string, double>& times() const { return times_; }

 private:
  std::map<std::string, double> times_;
};

}  // namespace

void RegisterPerCorpus(const std::string& name,
                       std::function<void(benchmark::State&, const Corpus&)> body) {
  for (const Corpus& corpus : Corpora()) {
    benchmark::RegisterBenchmark((name + "/" + corpus.name).c_str(),
                                 [body, &corpus](benchmark::State& state) {
                                   body(state, corpus);
                                   state.SetBytesProcessed(
                                       static_cast<int64_t>(state.iterations()) *
                                       static_cast<int64_t>(corpus.text.size() * 2));
                                 })
        ->Unit(benchmark::kMicrosecond);
  }
}

void RegisterRatio(const std::string& subject, const std::string& baseline, double maxRatio) {
  Ratios().push_back({subject, baseline, maxRatio});
}

}  // namespace quornel::bench

int main(int argc, char** argv) {
  using namespace quornel::bench;
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();

  std::printf("\n%-28s %-28s %-12s %8s  %s\n", "subject", "baseline", "corpus", "ratio", "target");
  for (const Ratio& ratio : Ratios()) {
    for (const Corpus& corpus : Corpora()) {
      const auto s = reporter.times().find(ratio.subject + "/" + corpus.name);
      const auto b = reporter.times().find(ratio.baseline + "/" + corpus.name);
      if (s == reporter.times().end() || b == reporter.times().end() || b->second <= 0) continue;
      const double r = s->second / b->second;
      char target[64] = "-";
      if (ratio.maxRatio > 0) {
        std::snprintf(target, sizeof target, "<= %.2fx %s", ratio.maxRatio,
                      r <= ratio.maxRatio ? "met" : "MISSED");
      }
      std::printf("%-28s %-28s %-12s %7.2fx  %s\n", ratio.subject.c_str(), ratio.baseline.c_str(),
                  corpus.name.c_str(), r, target);
    }
  }
  return 0;
}
