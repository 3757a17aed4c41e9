// With nobody to ask, a dialog ends as if closed: the unit stays as it is and
// nothing is remembered. The host reports the count once at the end.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>

#include "plugin/framework/presenters.h"

namespace quornel::vcl {
namespace {

std::size_t unasked = 0;

class NoTerminalPresenter final : public Presenter {
 public:
  int ShowModal(TForm& form) override {
    detail::CountUnasked();
    form.CloseBox();
    return form.ModalResult();
  }
};

}  // namespace

namespace detail {
void CountUnasked() { ++unasked; }
}  // namespace detail

std::size_t UnaskedCount() { return unasked; }

std::shared_ptr<Presenter> MakeNoTerminalPresenter() { return std::make_shared<NoTerminalPresenter>(); }

bool TerminalAvailable() {
  if (std::getenv("QUORNEL_NO_TTY") != nullptr) {
    return false;
  }
  const int fd = ::open("/dev/tty", O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    return false;
  }
  ::close(fd);
  return true;
}

}  // namespace quornel::vcl
