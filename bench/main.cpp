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

// Keeps the console output and remembers each benchmark's time per
// iteration: the median over its repetitions when it was repeated (run with
// --benchmark_repetitions on a shared machine, where single runs are noisy).
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& run : runs) {
      if (run.iterations == 0) continue;
      const double time = run.real_accumulated_time / static_cast<double>(run.iterations);
      const std::string name = run.run_name.str();
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") medians_[name] = time;
        continue;
      }
      const auto known = best_.find(name);
      if (known == best_.end() || time < known->second) best_[name] = time;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  // The median over repetitions where there were any, else the single run.
  std::map<std::string, double> times() const {
    std::map<std::string, double> times = best_;
    for (const auto& [name, time] : medians_) times[name] = time;
    return times;
  }

 private:
  std::map<std::string, double> best_;
  std::map<std::string, double> medians_;
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
  const std::map<std::string, double> times = reporter.times();
  for (const Ratio& ratio : Ratios()) {
    for (const Corpus& corpus : Corpora()) {
      const auto s = times.find(ratio.subject + "/" + corpus.name);
      const auto b = times.find(ratio.baseline + "/" + corpus.name);
      if (s == times.end() || b == times.end() || b->second <= 0) continue;
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
