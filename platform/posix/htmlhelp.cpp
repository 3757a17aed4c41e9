// The HTML Help viewer stand-in: topics are plain text files inside the help
// "file" (a directory), shown on whatever display the UI layer lent.
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/help_display.h"
#include "platform/winapi.h"

namespace quornel::platform {
namespace {

HelpDisplay* display = nullptr;
DWORD lastCookie = 0;
long openSessions = 0;
int viewerWindow = 0;  // its address is the handle of the "window" a shown topic opened

std::string ToUtf8(const std::u16string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
        text[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;  // a path cannot hold a lone surrogate half
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool UserWantsJapanese() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') {
      return value[0] == 'j' && value[1] == 'a';
    }
  }
  return false;
}

bool IsRegularFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

HelpDisplay* SetHelpDisplay(HelpDisplay* newDisplay) {
  HelpDisplay* previous = display;
  display = newDisplay;
  return previous;
}

std::string FindHelpTopic(const std::u16string& helpFile, DWORD context) {
  if (helpFile.empty()) {
    return {};
  }
  const std::string base = ToUtf8(helpFile) + "/" + std::to_string(context) + ".";
  const bool japanese = UserWantsJapanese();
  for (const char* lang : {japanese ? "ja" : "en", japanese ? "en" : "ja"}) {
    std::string path = base + lang + ".txt";
    if (IsRegularFile(path)) {
      return path;
    }
  }
  return {};
}

HWND HtmlHelpW(HWND /*caller*/, LPCWSTR file, UINT command, std::uintptr_t data) {
  switch (command) {
    case HH_INITIALIZE:
      if (data != 0) {
        *reinterpret_cast<DWORD*>(data) = ++lastCookie;
      }
      ++openSessions;
      return nullptr;
    case HH_UNINITIALIZE:
      if (data != 0 && data <= lastCookie && openSessions > 0) {
        --openSessions;
      }
      return nullptr;
    case HH_HELP_CONTEXT: {
      if (display == nullptr || file == nullptr) {
        return nullptr;
      }
      const std::string topic = FindHelpTopic(file, static_cast<DWORD>(data));
      if (topic.empty() || !display->ShowTopic(topic)) {
        return nullptr;
      }
      return &viewerWindow;
    }
    default:
      return nullptr;
  }
}

}  // namespace quornel::platform
