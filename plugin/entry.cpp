// filPlugin and the four callbacks. Nothing thrown inside a callback leaves
// it: the host has no way to receive an error, so a failure becomes a message
// for the host and a defined result.
#include <cstring>
#include <exception>

#include "platform/files.h"
#include "platform/winapi.h"
#include "plugin/filters.h"
#include "plugin/framework/vcl.h"
#include "plugin/host_extensions.h"
#include "plugin/plugin.h"
#include "plugin/state.h"

namespace quornel::plugin {
namespace {

namespace pf = quornel::platform;

constexpr char16_t kPluginName[] = u"Unicode補正フィルタ";
constexpr char16_t kVersionText[] = u"Ver5.0u Quornel developers";
constexpr std::u16string_view kHelpFileName = u"Quornel.chm";

std::string messages;
std::string messagesTaken;

void CopyText(char16_t* buffer, std::u16string_view text) {
  if (buffer == nullptr) return;  // a host that gave no buffer gets nothing written
  text.copy(buffer, text.size());
  buffer[text.size()] = u'\0';
}

std::u16string CopyPath(const char16_t* path) { return path == nullptr ? u"" : path; }

// The directory of the host's executable (not of this library), then the
// help file's name.
std::u16string HelpFilePath() {
  std::u16string exe(4096, u'\0');
  const pf::DWORD length = pf::GetModuleFileNameW(nullptr, exe.data(), exe.size());
  exe.resize(length);
  const std::size_t cut = exe.find_last_of(pf::kPathSeparators);
  std::u16string path = cut == std::u16string::npos ? u"" : exe.substr(0, cut + 1);
  path.append(kHelpFileName);
  return path;
}

void QUORNEL_CALLBACK PluginInit(TPluginInitInfo* info) {
  try {
    PluginState& state = State();
    CreateReplacementTable();
    vcl::Application().SetHelpFile(HelpFilePath());
    vcl::Application().SetHandle(info != nullptr ? info->HostWindow : nullptr);
    state.FirstHostPath = CopyPath(info != nullptr ? info->FirstPath : nullptr);
    state.SecondHostPath = CopyPath(info != nullptr ? info->SecondPath : nullptr);
    LoadReplacementTable();
    state.HelpCookie = 0;
    pf::HtmlHelpW(nullptr, nullptr, pf::HH_INITIALIZE,
                  reinterpret_cast<std::uintptr_t>(&state.HelpCookie));
  } catch (const std::exception& e) {
    ReportToHost(std::string("initialization failed: ") + e.what());
  } catch (...) {
    ReportToHost("initialization failed");
  }
}

void QUORNEL_CALLBACK PluginGetName(TFilterNameInfo* info) {
  if (info == nullptr || info->Index < 0 || info->Index >= static_cast<int>(kFilterCount)) return;
  CopyText(info->NameBuffer, FilterNames[info->Index]);
  CopyText(info->DescriptionBuffer, FilterDescriptions[info->Index]);
}

const char16_t* QUORNEL_CALLBACK PluginExecute(TFilterExecInfo* info) {
  if (info == nullptr || info->Index < 0 || info->Index >= static_cast<int>(kFilterCount)) {
    return u"";
  }
  PluginState& state = State();
  try {
    return FilterFunctions[info->Index](info, state.FilterResult);
  } catch (const std::exception& e) {
    ReportToHost(std::string("filter failed, text left unchanged: ") + e.what());
  } catch (...) {
    ReportToHost("filter failed, text left unchanged");
  }
  // A filter that could not finish hands back its input, as a failed
  // normalization does; the text is never lost.
  try {
    state.FilterResult.assign(InputText(info));
    return ResultPointer(state.FilterResult);
  } catch (...) {
    return info->Text != nullptr ? info->Text : u"";
  }
}

void QUORNEL_CALLBACK PluginFinish() {
  try {
    SaveReplacementTable();
  } catch (const std::exception& e) {
    ReportToHost(std::string("the replacement table was not saved: ") + e.what());
  } catch (...) {
    ReportToHost("the replacement table was not saved");
  }
  FreeReplacementTable();
  try {
    pf::HtmlHelpW(nullptr, nullptr, pf::HH_UNINITIALIZE, State().HelpCookie);
  } catch (...) {
  }
}

}  // namespace

PluginState& State() {
  static PluginState state;
  return state;
}

void ReportToHost(const std::string& message) {
  try {
    messages.append("Quornel: ").append(message).append("\n");
  } catch (...) {
  }
}

}  // namespace quornel::plugin

extern "C" {

std::int32_t QUORNEL_CALLBACK filPlugin(TPluginDescriptor* descriptor) {
  using namespace quornel::plugin;
  if (descriptor == nullptr) return kPluginProtocolVersion;
  descriptor->FilterCount = kFilterCount;
  descriptor->InitProc = PluginInit;
  descriptor->GetNameProc = PluginGetName;
  descriptor->Reserved = nullptr;
  descriptor->ExecuteProc = PluginExecute;
  descriptor->FinishProc = PluginFinish;
  CopyText(descriptor->NameBuffer, kPluginName);
  CopyText(descriptor->VersionBuffer, kVersionText);
  return kPluginProtocolVersion;
}

const QuornelVersionInfo* QuornelGetVersionInfo() {
  static const QuornelVersionInfo info{
      {5, 0, 0, 2}, "5.0", "Unicode補正フィルタ (Unicode版)", 0x0411, 932};
  return &info;
}

const char* QuornelTakeMessages() {
  using namespace quornel::plugin;
  // Dialogs that had no terminal to ask on left their units as they were;
  // said once, when the host collects the messages.
  static std::size_t unaskedReported = 0;
  const std::size_t unasked = quornel::vcl::UnaskedCount();
  if (unasked > unaskedReported) {
    ReportToHost(std::to_string(unasked - unaskedReported) +
                 " unit(s) the ANSI code page cannot show were left unchanged: there was no terminal to ask on");
    unaskedReported = unasked;
  }
  messagesTaken.swap(messages);
  messages.clear();
  return messagesTaken.c_str();
}

}  // extern "C"
