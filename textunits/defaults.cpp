#include "textunits/defaults.h"

#include "platform/winapi.h"

namespace pf = quornel::platform;

extern "C" {
std::uint32_t DefaultAnsiCodePage = 0;
std::uint32_t DefaultOEMCodePage = 0;
std::uint32_t DefaultLCID = 0;
}

std::uint32_t TuProcessDefaultCodePage() {
  static const std::uint32_t codePage = pf::GetACP();
  return codePage;
}

std::uint32_t TuGetCodePage(const ByteString& s) {
  const std::uint32_t tag = s.empty() ? TuProcessDefaultCodePage() : s.tag();
  return tag == 0 ? DefaultAnsiCodePage : tag;
}

namespace {

// Runs when the library is loaded: the process default code page is read
// first, then the three defaults in their order.
struct Initialization {
  Initialization() {
    (void)TuProcessDefaultCodePage();
    DefaultAnsiCodePage = pf::GetACP();
    DefaultOEMCodePage = pf::GetOEMCP();
    DefaultLCID = pf::GetUserDefaultLCID();
  }
};
const Initialization initialization;

}  // namespace
