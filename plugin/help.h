// Opening the help file beside the host's executable.
#pragma once

#include <cstdint>

namespace quornel {

// Opens the application's help file at a context number; the result of the
// viewer is not looked at.
void ShowHelpContext(std::uint32_t context);

}  // namespace quornel
