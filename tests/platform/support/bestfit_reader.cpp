#include "platform/support/bestfit_reader.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace quornel::testsupport {

bool BestFitTable::IsLead(std::uint8_t b) const {
  return std::any_of(leadRanges.begin(), leadRanges.end(),
                     [b](const auto& r) { return b >= r.first && b <= r.second; });
}

namespace {

// All fields of the file in order, comments dropped. Lines end at LF; a CR
// before it is blank space like any other.
std::vector<std::string> Fields(const std::string& bytes) {
  std::vector<std::string> fields;
  std::string field;
  bool inComment = false;
  for (const char c : bytes) {
    if (c == '\n') inComment = false;
    if (inComment) continue;
    if (c == ';') inComment = true;
    if (c == ';' || c == '\n' || std::isspace(static_cast<unsigned char>(c))) {
      if (!field.empty()) fields.push_back(std::move(field));
      field.clear();
    } else {
      field.push_back(c);
    }
  }
  if (!field.empty()) fields.push_back(field);
  return fields;
}

class FieldStream {
 public:
  explicit FieldStream(std::vector<std::string> fields) : fields_(std::move(fields)) {}
  bool AtEnd() const { return next_ >= fields_.size(); }
  std::string Word() { return AtEnd() ? std::string() : fields_[next_++]; }
  unsigned long Number(int base) {
    const std::string w = Word();
    return w.empty() ? 0 : std::stoul(w, nullptr, base);
  }

 private:
  std::vector<std::string> fields_;
  std::size_t next_ = 0;
};

}  // namespace

std::optional<BestFitTable> ReadBestFit(const std::string& path, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot open " + path;
    return std::nullopt;
  }
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  FieldStream s(Fields(bytes));
  BestFitTable t;
  try {
    while (!s.AtEnd()) {
      const std::string tag = s.Word();
      if (tag == "CODEPAGE") {
        t.codePage = s.Number(10);
      } else if (tag == "CPINFO") {
        t.maxCharSize = s.Number(10);
        t.defaultChar = s.Number(16);
        t.unicodeDefault = static_cast<char16_t>(s.Number(16));
      } else if (tag == "MBTABLE") {
        for (unsigned long n = s.Number(10); n > 0; --n) {
          const auto b = static_cast<std::uint8_t>(s.Number(16));
          t.single[b] = static_cast<char16_t>(s.Number(16));
        }
      } else if (tag == "DBCSRANGE") {
        for (unsigned long ranges = s.Number(10); ranges > 0; --ranges) {
          const auto first = static_cast<std::uint8_t>(s.Number(16));
          const auto last = static_cast<std::uint8_t>(s.Number(16));
          t.leadRanges.emplace_back(first, last);
          for (unsigned lead = first; lead <= last; ++lead) {
            if (s.Word() != "DBCSTABLE") {
              error = path + ": DBCSTABLE expected";
              return std::nullopt;
            }
            for (unsigned long n = s.Number(10); n > 0; --n) {
              const auto trail = static_cast<std::uint16_t>(s.Number(16));
              t.pairs[static_cast<std::uint16_t>(lead << 8 | trail)] =
                  static_cast<char16_t>(s.Number(16));
            }
          }
        }
      } else if (tag == "WCTABLE") {
        for (unsigned long n = s.Number(10); n > 0; --n) {
          const auto u = static_cast<char16_t>(s.Number(16));
          t.wide[u] = static_cast<std::uint16_t>(s.Number(16));
        }
      } else if (tag == "ENDCODEPAGE") {
        break;
      } else {
        error = path + ": unexpected field " + tag;
        return std::nullopt;
      }
    }
  } catch (const std::exception& e) {
    error = path + ": " + e.what();
    return std::nullopt;
  }
  return t;
}

std::vector<unsigned> BestFitCodePages(const std::string& dir) {
  std::vector<unsigned> pages;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ec)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("bestfit", 0) == 0 && name.size() > 11 &&
        name.compare(name.size() - 4, 4, ".txt") == 0) {
      pages.push_back(static_cast<unsigned>(std::stoul(name.substr(7, name.size() - 11))));
    }
  }
  std::sort(pages.begin(), pages.end());
  return pages;
}

}  // namespace quornel::testsupport
