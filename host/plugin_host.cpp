#include "host/plugin_host.h"

#include <dlfcn.h>

namespace quornel::host {

namespace {
// Longer than any name, description or version text the plug-in writes.
constexpr std::size_t kBufferUnits = 1024;
}

PluginHost::~PluginHost() {
  if (initialized_) Finish();
  if (module_ != nullptr) dlclose(module_);
}

bool PluginHost::Load(const std::string& path, std::string& error) {
  module_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) {
    const char* reason = dlerror();
    error = "cannot load the plug-in " + path + ": " + (reason != nullptr ? reason : "unknown error");
    return false;
  }
  auto* entry = reinterpret_cast<std::int32_t(QUORNEL_CALLBACK*)(TPluginDescriptor*)>(
      dlsym(module_, "filPlugin"));
  if (entry == nullptr) {
    error = "the plug-in " + path + " has no entry filPlugin";
    return false;
  }
  std::u16string name(kBufferUnits, u'\0');
  std::u16string version(kBufferUnits, u'\0');
  descriptor_.NameBuffer = name.data();
  descriptor_.VersionBuffer = version.data();
  entry(&descriptor_);
  descriptor_.NameBuffer = nullptr;
  descriptor_.VersionBuffer = nullptr;
  name_ = name.c_str();
  version_ = version.c_str();
  if (descriptor_.InitProc == nullptr || descriptor_.GetNameProc == nullptr ||
      descriptor_.ExecuteProc == nullptr || descriptor_.FinishProc == nullptr) {
    error = "the plug-in " + path + " did not hand out its callbacks";
    return false;
  }
  return true;
}

void PluginHost::Init(const std::u16string& firstPath, const std::u16string& secondPath) {
  TPluginInitInfo info{nullptr, firstPath.c_str(), secondPath.c_str()};
  descriptor_.InitProc(&info);
  initialized_ = true;
}

std::vector<FilterInfo> PluginHost::Filters() const {
  std::vector<FilterInfo> filters;
  for (std::uint32_t i = 0; i < descriptor_.FilterCount; ++i) {
    std::u16string name(kBufferUnits, u'\0');
    std::u16string description(kBufferUnits, u'\0');
    TFilterNameInfo info{static_cast<std::int32_t>(i), name.data(), description.data()};
    descriptor_.GetNameProc(&info);
    filters.push_back({name.c_str(), description.c_str()});
  }
  return filters;
}

const char16_t* PluginHost::Execute(int index, const char16_t* text) {
  TFilterExecInfo info{};
  info.Index = index;
  info.Text = text;
  return descriptor_.ExecuteProc(&info);
}

void PluginHost::Finish() {
  if (!initialized_) return;
  initialized_ = false;
  descriptor_.FinishProc();
}

const QuornelVersionInfo* PluginHost::VersionInfo() const {
  auto* get = reinterpret_cast<const QuornelVersionInfo* (*)()>(
      dlsym(module_, "QuornelGetVersionInfo"));
  return get != nullptr ? get() : nullptr;
}

std::string PluginHost::TakeMessages() const {
  auto* take = reinterpret_cast<const char* (*)()>(dlsym(module_, "QuornelTakeMessages"));
  const char* messages = take != nullptr ? take() : nullptr;
  return messages != nullptr ? messages : "";
}

}  // namespace quornel::host
