#include "plugin/help.h"

#include "platform/winapi.h"
#include "plugin/framework/vcl.h"

namespace quornel {

void ShowHelpContext(std::uint32_t context) {
  vcl::TApplication& application = vcl::Application();
  platform::HtmlHelpW(application.Handle(), application.HelpFile().c_str(), platform::HH_HELP_CONTEXT,
                      context);
}

}  // namespace quornel
