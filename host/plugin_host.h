// Loads a filter plug-in and drives it through the host protocol.
#pragma once

#include <string>
#include <vector>

#include "plugin/host_extensions.h"
#include "plugin/plugin.h"

namespace quornel::host {

struct FilterInfo {
  std::u16string name;
  std::u16string description;
};

class PluginHost {
 public:
  PluginHost() = default;
  PluginHost(const PluginHost&) = delete;
  PluginHost& operator=(const PluginHost&) = delete;
  ~PluginHost();  // finishes the plug-in if it was initialized, then unloads it

  // dlopen and filPlugin; false with a message when the module cannot be used.
  [[nodiscard]] bool Load(const std::string& path, std::string& error);

  void Init(const std::u16string& firstPath, const std::u16string& secondPath);
  [[nodiscard]] std::vector<FilterInfo> Filters() const;
  // The filtered text; valid until the next Execute.
  const char16_t* Execute(int index, const char16_t* text);
  void Finish();

  [[nodiscard]] const std::u16string& Name() const { return name_; }
  [[nodiscard]] const std::u16string& Version() const { return version_; }
  [[nodiscard]] std::uint32_t FilterCount() const { return descriptor_.FilterCount; }
  // Null when the plug-in has no version resource of ours.
  [[nodiscard]] const QuornelVersionInfo* VersionInfo() const;
  // The plug-in's messages since the last call, or "".
  [[nodiscard]] std::string TakeMessages() const;

 private:
  void* module_ = nullptr;
  TPluginDescriptor descriptor_{};
  std::u16string name_;
  std::u16string version_;
  bool initialized_ = false;
};

// The short names `quornel run` accepts, by filter index.
inline constexpr const char* kShortNames[kFilterCount] = {
    "cp932",            "cp932-reverse",    "jisx0208", "jisx0208-reverse", "jisx0213-to-0208",
    "jisx0208-to-0213", "nfc",              "nfd",      "sjis-auto",        "sjis-replace",
};

}  // namespace quornel::host
