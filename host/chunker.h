// Cuts a stream of UTF-16 text into pieces the filters give the same result
// for, one at a time, as for the whole text: pieces end after a line feed.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace quornel::host {

class Chunker {
 public:
  using Sink = std::function<bool(std::u16string_view piece)>;

  // Pieces of about `target` units; a line longer than `longLine` units is
  // cut at a point where no filter looks across.
  Chunker(std::size_t target, std::size_t longLine, Sink sink)
      : target_(target), longLine_(longLine), sink_(std::move(sink)) {}

  // The buffer new text is decoded into; call Flush after adding to it.
  std::u16string& Buffer() { return buffer_; }
  [[nodiscard]] bool Flush();
  [[nodiscard]] bool Finish();

  // Where a piece may end inside a long line, or 0: before a unit that no
  // filter joins to what precedes it (see chunker.cpp).
  static std::size_t SafeCut(std::u16string_view text);

 private:
  std::size_t target_;
  std::size_t longLine_;
  Sink sink_;
  std::u16string buffer_;
};

}  // namespace quornel::host
