#include "host/chunker.h"

namespace quornel::host {

namespace {

// Units that start a character and never combine with anything before them:
// ASCII, kana letters (not the voiced sound marks) and CJK ideographs. None
// is a surrogate, a combining mark or the second half of a canonical pair,
// so normalization cannot reach across a cut before one, and the unit-wise
// filters never do.
bool StartsFresh(char16_t u) {
  return (u >= 0x20 && u < 0x7F) || (u >= 0x3041 && u <= 0x3096) ||
         (u >= 0x30A1 && u <= 0x30FA) || (u >= 0x4E00 && u <= 0x9FFF);
}

}  // namespace

std::size_t Chunker::SafeCut(std::u16string_view text) {
  for (std::size_t i = text.size(); i-- > 1;) {
    if (StartsFresh(text[i]) && StartsFresh(text[i - 1])) return i;
  }
  return 0;
}

bool Chunker::Flush() {
  while (buffer_.size() >= target_) {
    std::size_t cut = buffer_.rfind(u'\n');
    cut = cut == std::u16string::npos ? 0 : cut + 1;
    if (cut == 0) {
      if (buffer_.size() < longLine_) return true;  // wait for the line's end
      cut = SafeCut(buffer_);
      if (cut == 0) return true;  // nowhere safe yet; keep reading
    }
    if (!sink_(std::u16string_view(buffer_).substr(0, cut))) return false;
    buffer_.erase(0, cut);
  }
  return true;
}

bool Chunker::Finish() {
  if (!Flush()) return false;
  if (buffer_.empty()) return true;
  const bool ok = sink_(buffer_);
  buffer_.clear();
  return ok;
}

}  // namespace quornel::host
