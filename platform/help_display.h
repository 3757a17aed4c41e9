// Where the help viewer stand-in shows a topic. A system without the HTML
// Help viewer has no window to open, so the UI layer that owns the screen
// (the terminal dialog) lends one for as long as it is up.
#pragma once

#include <string>

#include "platform/winapi.h"

namespace quornel::platform {

class HelpDisplay {
 public:
  virtual ~HelpDisplay() = default;
  // Shows the UTF-8 topic file and returns once the user is done with it.
  virtual bool ShowTopic(const std::string& topicPath) = 0;
};

// Installs the display HH_HELP_CONTEXT uses (nullptr: none, the call then
// shows nothing) and returns the one installed before.
HelpDisplay* SetHelpDisplay(HelpDisplay* display);

// The help file is a directory holding one file per topic and language,
// "<context>.<lang>.txt", lang "ja" or "en". The language comes from the
// user's locale (LC_ALL, then LC_MESSAGES, then LANG: Japanese when it starts
// with "ja", English otherwise); the other language stands in when a topic
// exists only in that one. Returns the topic's path, or "" when there is none.
std::string FindHelpTopic(const std::u16string& helpFile, DWORD context);

}  // namespace quornel::platform
