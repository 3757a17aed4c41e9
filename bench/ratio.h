// Benchmarks here come in pairs: a subject and the baseline it is measured
// against (ICU, or a plain copy of the same data) on the same corpus, in the
// same run. After the run the ratio of their times is printed with its target.
#pragma once

#include <benchmark/benchmark.h>

#include <functional>
#include <string>

#include "bench/corpus.h"

namespace quornel::bench {

// Registers `body` once per corpus, as "<name>/<corpus>", and sets the bytes
// processed to the corpus size in UTF-16 so throughput is comparable.
void RegisterPerCorpus(const std::string& name,
                       std::function<void(benchmark::State&, const Corpus&)> body);

// After the run, prints time(subject) / time(baseline) for each corpus.
// `maxRatio` is the target (subject at most that many times the baseline);
// 0 means the pair is reported without a target.
void RegisterRatio(const std::string& subject, const std::string& baseline, double maxRatio);

}  // namespace quornel::bench
