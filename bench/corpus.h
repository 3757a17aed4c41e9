// Japanese text for the benchmarks: a deterministic generated corpus, and the
// text of Debian's manpages-ja pages when that package is installed.
#pragma once

#include <string>
#include <vector>

namespace quornel::bench {

struct Corpus {
  std::string name;      // "generated" or "manpages-ja"
  std::u16string text;   // UTF-16, no U+0000
};

// The generated corpus (about `units` UTF-16 units) first, then manpages-ja
// when /usr/share/man/ja holds pages. Built once per process.
const std::vector<Corpus>& Corpora();

}  // namespace quornel::bench
