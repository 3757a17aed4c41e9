// The presenters the framework chooses between by default.
#pragma once

#include <memory>

#include "plugin/framework/vcl.h"

namespace quornel::vcl {

// Draws the dialog on the controlling terminal (/dev/tty) with ncursesw, so
// it works while standard input and output are files or pipes.
std::shared_ptr<Presenter> MakeTerminalPresenter();

// Acts as if the user closed the dialog (mrCancel) and counts it.
std::shared_ptr<Presenter> MakeNoTerminalPresenter();

// Whether a dialog can be asked on a terminal: QUORNEL_NO_TTY is unset and
// /dev/tty opens.
bool TerminalAvailable();

namespace detail {
void CountUnasked();
}  // namespace detail

}  // namespace quornel::vcl
