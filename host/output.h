// Where the filtered text goes: standard output, or a file that is replaced
// only when the whole run succeeded.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace quornel::host {

class Output {
 public:
  virtual ~Output() = default;
  [[nodiscard]] virtual bool Write(std::string_view bytes, std::string& error) = 0;
  [[nodiscard]] virtual bool Commit(std::string& error) = 0;
};

std::unique_ptr<Output> StandardOutput();
// Nothing is written over `path` unless Commit succeeds.
std::unique_ptr<Output> FileOutput(const std::string& path, std::string& error);

}  // namespace quornel::host
