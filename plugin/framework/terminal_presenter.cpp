// The dialog on the controlling terminal. The layout is the form's own: one
// terminal cell stands for one half-width character of the form's 12-pixel
// font, 6 by 12 pixels, so the 222 by 169 dialog becomes 37 columns by 14
// rows inside a frame that carries the caption, drawn in the middle of the
// terminal. ncursesw runs on /dev/tty (newterm), not on standard input and
// output, which may be the host's files or pipes.
#ifndef _XOPEN_SOURCE_EXTENDED
#define _XOPEN_SOURCE_EXTENDED 1
#endif
#include <fcntl.h>
#include <langinfo.h>
#include <ncurses.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/help_display.h"
#include "plugin/framework/dialog_input.h"
#include "plugin/framework/display_text.h"
#include "plugin/framework/presenters.h"

namespace quornel::vcl {
namespace {

constexpr double kCellWidth = 6.0;
constexpr double kCellHeight = 12.0;

enum Pair : short { kWindowPair = 1, kOtherPair = 2 };

int Cols(int pixels) { return static_cast<int>(std::lround(pixels / kCellWidth)); }
int Rows(int pixels) { return static_cast<int>(std::lround(pixels / kCellHeight)); }

struct Rect {
  int row = 0, col = 0, rows = 0, cols = 0;
  int Bottom() const { return row + rows; }
  int Right() const { return col + cols; }
  Rect Intersect(const Rect& o) const {
    Rect r;
    r.row = std::max(row, o.row);
    r.col = std::max(col, o.col);
    r.rows = std::max(0, std::min(Bottom(), o.Bottom()) - r.row);
    r.cols = std::max(0, std::min(Right(), o.Right()) - r.col);
    return r;
  }
  bool Contains(int r, int c) const { return r >= row && r < Bottom() && c >= col && c < Right(); }
};

// LC_CTYPE must name a UTF-8 code set for ncursesw to read and draw wide
// characters; the host's locale is put back when the dialog closes.
class Utf8Locale {
 public:
  Utf8Locale() {
    const char* current = std::setlocale(LC_CTYPE, nullptr);
    saved_ = current != nullptr ? current : "C";
    if (!IsUtf8(std::setlocale(LC_CTYPE, ""))) {
      if (!IsUtf8(std::setlocale(LC_CTYPE, "C.UTF-8"))) std::setlocale(LC_CTYPE, "en_US.UTF-8");
    }
  }
  ~Utf8Locale() { std::setlocale(LC_CTYPE, saved_.c_str()); }

 private:
  static bool IsUtf8(const char* set) {
    if (set == nullptr) return false;
    const char* codeset = nl_langinfo(CODESET);
    return codeset != nullptr && (std::strcmp(codeset, "UTF-8") == 0 || std::strcmp(codeset, "utf8") == 0);
  }
  std::string saved_;
};

class Screen {
 public:
  explicit Screen(Rect clip) : clip_(clip) {}

  void Put(int row, int col, const std::wstring& glyph, attr_t attr, short pair) const {
    if (!clip_.Contains(row, col)) return;
    cchar_t cell;
    if (setcchar(&cell, glyph.c_str(), attr, pair, nullptr) == OK) mvadd_wch(row, col, &cell);
  }

  // Draws cells from `col`, stopping before a cell that would cross `limit`.
  int Text(int row, int col, int limit, const std::vector<DisplayCell>& cells, attr_t attr, short pair) const {
    for (const DisplayCell& cell : cells) {
      if (col + cell.width > limit) break;
      if (cell.codePoint) {
        for (std::size_t i = 0; i < cell.glyph.size(); ++i) {
          Put(row, col + static_cast<int>(i), std::wstring(1, cell.glyph[i]), attr | A_DIM, pair);
        }
      } else if (clip_.Contains(row, col) && clip_.Contains(row, col + cell.width - 1)) {
        Put(row, col, cell.glyph, attr, pair);
      }
      col += cell.width;
    }
    return col;
  }

  void Fill(const Rect& area, attr_t attr, short pair) const {
    for (int r = area.row; r < area.Bottom(); ++r)
      for (int c = area.col; c < area.Right(); ++c) Put(r, c, L" ", attr, pair);
  }

  void Box(const Rect& area) const {
    if (area.rows < 2 || area.cols < 2) return;
    const auto acs = [&](int r, int c, const cchar_t* ch) {
      if (clip_.Contains(r, c)) mvadd_wch(r, c, ch);
    };
    for (int c = area.col + 1; c < area.Right() - 1; ++c) {
      acs(area.row, c, WACS_HLINE);
      acs(area.Bottom() - 1, c, WACS_HLINE);
    }
    for (int r = area.row + 1; r < area.Bottom() - 1; ++r) {
      acs(r, area.col, WACS_VLINE);
      acs(r, area.Right() - 1, WACS_VLINE);
    }
    acs(area.row, area.col, WACS_ULCORNER);
    acs(area.row, area.Right() - 1, WACS_URCORNER);
    acs(area.Bottom() - 1, area.col, WACS_LLCORNER);
    acs(area.Bottom() - 1, area.Right() - 1, WACS_LRCORNER);
  }

  Screen Clipped(const Rect& area) const { return Screen(clip_.Intersect(area)); }
  const Rect& Clip() const { return clip_; }

 private:
  Rect clip_;
};

std::vector<DisplayCell> Ascii(const std::string& text) {
  std::u16string units(text.begin(), text.end());
  return LayoutCells(units);
}

class FormPainter {
 public:
  FormPainter(TForm& form, const DialogInput& input, bool colours)
      : form_(form), input_(input), colours_(colours) {}

  // Paints the whole form; returns where the caret goes, if anywhere.
  bool Paint(int& caretRow, int& caretCol) {
    erase();
    const int clientRows = Rows(form_.ClientHeight());
    const int clientCols = Cols(form_.ClientWidth());
    const Rect box{std::max(0, (LINES - clientRows - 2) / 2), std::max(0, (COLS - clientCols - 2) / 2),
                   clientRows + 2, clientCols + 2};
    Screen screen(Rect{0, 0, LINES, COLS});
    screen.Box(box);
    const std::vector<DisplayCell> title = LayoutCells(u" " + form_.Caption() + u" ");
    screen.Text(box.row, box.col + 2, box.Right() - 1, title, A_BOLD, 0);
    const std::string hint = "Tab: next  Up/Down: kind  Enter: OK  F1: help  Esc: close";
    if (static_cast<int>(hint.size()) <= COLS && box.Bottom() < LINES) {
      screen.Text(box.Bottom(), std::max(0, (COLS - static_cast<int>(hint.size())) / 2), COLS, Ascii(hint), A_DIM, 0);
    }
    caret_ = false;
    const Rect client{box.row + 1, box.col + 1, clientRows, clientCols};
    PaintChildren(form_, client, screen.Clipped(client));
    caretRow = caretRow_;
    caretCol = caretCol_;
    return caret_;
  }

 private:
  struct Look {
    attr_t attr;
    short pair;
  };

  Look Colour(TColor color) const {
    if (color == clBtnFace) return {A_NORMAL, 0};
    if (colours_) return {A_NORMAL, color == clWindow ? kWindowPair : kOtherPair};
    return {A_UNDERLINE, 0};  // without colours the field still stands out
  }

  void PaintChildren(TWinControl& parent, const Rect& origin, const Screen& screen) {
    for (TControl* control : parent.Controls()) {
      if (!control->Visible()) continue;
      const Rect area{origin.row + Rows(control->Top()), origin.col + Cols(control->Left()),
                      std::max(1, Rows(control->Height())), std::max(1, Cols(control->Width()))};
      Paint(*control, area, screen);
    }
  }

  void Paint(TControl& control, const Rect& area, const Screen& screen) {
    const bool focused = input_.Focused() == &control;
    if (auto* panel = dynamic_cast<TPanel*>(&control)) {
      PaintPanel(*panel, area, screen);
    } else if (auto* edit = dynamic_cast<TEdit*>(&control)) {
      PaintEdit(*edit, area, screen, focused);
    } else if (auto* combo = dynamic_cast<TComboBox*>(&control)) {
      const Look look = Colour(combo->Color());
      const attr_t attr = look.attr | (focused ? A_REVERSE : A_NORMAL);
      Screen inside = screen.Clipped(area);
      inside.Fill(Rect{area.row, area.col, 1, area.cols}, attr, look.pair);
      inside.Text(area.row, area.col, area.Right(), Ascii("["), attr, look.pair);
      inside.Text(area.row, area.col + 1, area.Right() - 2, LayoutCells(combo->Text()), attr, look.pair);
      inside.Text(area.row, area.Right() - 2, area.Right(), Ascii("v]"), attr, look.pair);
    } else if (auto* button = dynamic_cast<TButton*>(&control)) {
      // The default button wears the heavier frame, as on the desktop.
      const std::u16string face = button->Default() ? u"[> " + button->Caption() + u" <]"
                                                    : u"[  " + button->Caption() + u"  ]";
      const std::vector<DisplayCell> cells = LayoutCells(face);
      const int width = DisplayWidth(face);
      const int row = area.row + (area.rows - 1) / 2;
      const attr_t attr = (focused ? A_REVERSE : A_NORMAL) | (button->Default() ? A_BOLD : A_NORMAL);
      screen.Text(row, area.col + std::max(0, (area.cols - width) / 2), area.Right(), cells, attr, 0);
    } else {
      screen.Text(area.row, area.col, screen.Clip().Right(), LayoutCells(control.Caption()), A_NORMAL, 0);
    }
  }

  void PaintPanel(TPanel& panel, const Rect& area, const Screen& screen) {
    // Under themes a panel that takes its parent's background shows no colour of its own.
    const bool ownColour = !(ThemeServicesEnabled() && panel.ParentBackground());
    const Look look = ownColour ? Colour(panel.Color()) : Look{A_NORMAL, 0};
    const bool bevel = panel.BevelOuter() != TBevelCut::bvNone && area.rows >= 2 && area.cols >= 2;
    const Rect inner = bevel ? Rect{area.row + 1, area.col + 1, area.rows - 2, area.cols - 2} : area;
    Screen inside = screen.Clipped(inner);
    inside.Fill(inner, look.attr, look.pair);
    if (bevel) screen.Box(area);
    const std::u16string& caption = panel.Caption();
    if (!caption.empty()) {
      // A single character is the unit being asked about: show it with its
      // code point, which also names a surrogate half that cannot be drawn.
      const std::string label = CodePointLabel(caption);
      const bool twoLines = !label.empty() && inner.rows >= 2;
      const int row = inner.row + (twoLines ? 0 : (inner.rows - 1) / 2);
      const int width = DisplayWidth(caption);
      inside.Text(row, inner.col + std::max(0, (inner.cols - width) / 2), inner.Right(), LayoutCells(caption),
                  look.attr | A_BOLD, look.pair);
      if (twoLines) {
        inside.Text(row + 1, inner.col + std::max(0, (inner.cols - static_cast<int>(label.size())) / 2),
                    inner.Right(), Ascii(label), look.attr, look.pair);
      }
    }
    PaintChildren(panel, area, inside);
  }

  void PaintEdit(TEdit& edit, const Rect& area, const Screen& screen, bool focused) {
    const Look look = Colour(edit.Color());
    Screen inside = screen.Clipped(area);
    const Rect visible = inside.Clip();
    if (visible.rows == 0 || visible.cols == 0) return;
    const int row = visible.row + (visible.rows - 1) / 2;
    inside.Fill(Rect{row, visible.col, 1, visible.cols}, look.attr, look.pair);
    // Scroll sideways so that the caret stays in view, one column kept for it.
    const std::vector<DisplayCell> cells = LayoutCells(edit.Text());
    std::size_t caretCell = cells.size();
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (cells[i].begin >= edit.SelStart()) {
        caretCell = i;
        break;
      }
    }
    int before = 0;
    for (std::size_t i = 0; i < caretCell; ++i) before += cells[i].width;
    std::size_t first = 0;
    while (first < caretCell && before >= visible.cols) before -= cells[first++].width;
    const std::vector<DisplayCell> shown(cells.begin() + static_cast<long>(first), cells.end());
    inside.Text(row, visible.col, visible.Right(), shown, look.attr, look.pair);
    if (focused) {
      caret_ = true;
      caretRow_ = row;
      caretCol_ = visible.col + before;
    }
  }

  TForm& form_;
  const DialogInput& input_;
  bool colours_;
  bool caret_ = false;
  int caretRow_ = 0, caretCol_ = 0;
};

// The help viewer's window while the dialog is up: the pager on the same
// terminal, with the dialog's screen put back afterwards.
class TerminalHelp final : public platform::HelpDisplay {
 public:
  explicit TerminalHelp(int ttyFd) : ttyFd_(ttyFd) {}

  bool ShowTopic(const std::string& topicPath) override {
    def_prog_mode();
    endwin();
    const int status = RunPager(topicPath);
    reset_prog_mode();
    if (status == 127) BuiltInPager(topicPath);
    clearok(curscr, TRUE);
    refresh();
    return true;
  }

 private:
  int RunPager(const std::string& path) {
    // Like system(): the pager owns the keyboard, so an interrupt is its to handle.
    struct sigaction ignore {}, oldInt {}, oldQuit {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGINT, &ignore, &oldInt);
    sigaction(SIGQUIT, &ignore, &oldQuit);
    const pid_t child = fork();
    if (child == 0) {
      sigaction(SIGINT, &oldInt, nullptr);
      sigaction(SIGQUIT, &oldQuit, nullptr);
      dup2(ttyFd_, 0);
      dup2(ttyFd_, 1);
      dup2(ttyFd_, 2);
      setenv("LESSCHARSET", "utf-8", 0);
      const char* pager = std::getenv("PAGER");
      if (pager != nullptr && *pager != '\0') {
        execl("/bin/sh", "sh", "-c", "exec $PAGER \"$1\"", "sh", path.c_str(), static_cast<char*>(nullptr));
      } else {
        execlp("less", "less", path.c_str(), static_cast<char*>(nullptr));
      }
      _exit(127);
    }
    int status = 0;
    int result = 127;
    if (child > 0) {
      while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
      }
      result = WIFEXITED(status) ? WEXITSTATUS(status) : 0;
    }
    sigaction(SIGINT, &oldInt, nullptr);
    sigaction(SIGQUIT, &oldQuit, nullptr);
    return result;
  }

  // When no pager can run: the topic on the dialog's own screen, a page at a
  // time; q, Escape or F1 go back to the dialog.
  static void BuiltInPager(const std::string& path) {
    std::ifstream in(path);
    std::vector<std::wstring> lines;
    for (std::string line; std::getline(in, line);) {
      std::wstring wide(line.size() + 1, L'\0');
      const std::size_t n = std::mbstowcs(wide.data(), line.c_str(), wide.size());
      wide.resize(n == static_cast<std::size_t>(-1) ? 0 : n);
      lines.push_back(std::move(wide));
    }
    std::size_t top = 0;
    curs_set(0);
    for (;;) {
      erase();
      const int body = std::max(1, LINES - 1);
      for (int r = 0; r < body && top + static_cast<std::size_t>(r) < lines.size(); ++r) {
        int col = 0;
        for (wchar_t c : lines[top + static_cast<std::size_t>(r)]) {
          const int w = std::max(0, ::wcwidth(c));
          if (col + w > COLS) break;
          cchar_t cell;
          const wchar_t glyph[2] = {c, L'\0'};
          if (w > 0 && setcchar(&cell, glyph, A_NORMAL, 0, nullptr) == OK) mvadd_wch(r, col, &cell);
          col += w;
        }
      }
      attron(A_REVERSE);
      mvaddstr(LINES - 1, 0, " Help  Space/Down: more  Up: back  q: return to the dialog ");
      attroff(A_REVERSE);
      refresh();
      wint_t key = 0;
      const int kind = get_wch(&key);
      if (kind == ERR) return;
      if (kind == KEY_CODE_YES) {
        if (key == KEY_DOWN || key == KEY_NPAGE) top = std::min(top + (key == KEY_DOWN ? 1 : static_cast<std::size_t>(body)), lines.empty() ? 0 : lines.size() - 1);
        else if (key == KEY_UP) top = top > 0 ? top - 1 : 0;
        else if (key == KEY_PPAGE) top = top > static_cast<std::size_t>(body) ? top - body : 0;
        else if (key == KEY_F(1)) return;
      } else if (key == L'q' || key == L'Q' || key == 27) {
        return;
      } else if (key == L' ') {
        top = std::min(top + static_cast<std::size_t>(body), lines.empty() ? 0 : lines.size() - 1);
      }
    }
  }

  int ttyFd_;
};

// ncurses hooks the signals it finds at their defaults and keeps the hooks
// after the screen is gone; the host gets its own back once the dialog closes.
class SignalDispositions {
 public:
  SignalDispositions() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], nullptr, &saved_[i]);
  }
  void Restore() const {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) sigaction(kSignals[i], &saved_[i], nullptr);
  }

 private:
  static constexpr int kSignals[] = {SIGINT, SIGQUIT, SIGTERM, SIGTSTP, SIGWINCH};
  struct sigaction saved_[std::size(kSignals)] {};
};

class TerminalPresenter final : public Presenter {
 public:
  int ShowModal(TForm& form) override {
    Utf8Locale locale;
    FILE* tty = std::fopen("/dev/tty", "r+e");
    if (tty == nullptr) return Unasked(form);
    const SignalDispositions hostSignals;
    const char* term = std::getenv("TERM");
    SCREEN* screen = newterm(term != nullptr && *term != '\0' ? term : "vt100", tty, tty);
    if (screen == nullptr) {
      std::fclose(tty);
      hostSignals.Restore();
      return Unasked(form);
    }
    set_term(screen);
    raw();
    noecho();
    nonl();
    keypad(stdscr, TRUE);
    set_escdelay(25);
    const bool colours = has_colors();
    if (colours) {
      start_color();
      use_default_colors();
      init_pair(kWindowPair, COLOR_BLACK, COLOR_WHITE);
      init_pair(kOtherPair, COLOR_BLACK, COLOR_MAGENTA);
    }
    TerminalHelp help(fileno(tty));
    platform::HelpDisplay* previousHelp = platform::SetHelpDisplay(&help);

    bool interrupted = false;
    {
      DialogInput input(form);
      FormPainter painter(form, input, colours);
      int errors = 0;
      while (!input.Done()) {
        int caretRow = 0, caretCol = 0;
        const bool caret = painter.Paint(caretRow, caretCol);
        curs_set(caret ? 1 : 0);
        if (caret) move(caretRow, caretCol);
        refresh();
        wint_t key = 0;
        const int kind = get_wch(&key);
        if (kind == ERR) {
          // A terminal that stopped answering (hung up) cannot end the dialog otherwise.
          if (++errors > 100) input.Close();
          continue;
        }
        errors = 0;
        if (kind == OK && key == 3) {  // Ctrl-C: leave the terminal sane, then interrupt
          interrupted = true;
          input.Close();
          break;
        }
        if (const auto press = Translate(kind, key)) input.Press(*press);
      }
    }

    platform::SetHelpDisplay(previousHelp);
    curs_set(1);
    endwin();
    delscreen(screen);
    std::fclose(tty);
    hostSignals.Restore();
    if (interrupted) raise(SIGINT);
    return form.ModalResult();
  }

 private:
  static int Unasked(TForm& form) {
    detail::CountUnasked();
    form.CloseBox();
    return form.ModalResult();
  }

  static std::optional<KeyPress> Translate(int kind, wint_t key) {
    if (kind == KEY_CODE_YES) {
      switch (key) {
        case KEY_ENTER: return KeyPress{Key::Enter, 0};
        case KEY_BTAB: return KeyPress{Key::BackTab, 0};
        case KEY_BACKSPACE: return KeyPress{Key::Backspace, 0};
        case KEY_DC: return KeyPress{Key::Delete, 0};
        case KEY_LEFT: return KeyPress{Key::Left, 0};
        case KEY_RIGHT: return KeyPress{Key::Right, 0};
        case KEY_UP: return KeyPress{Key::Up, 0};
        case KEY_DOWN: return KeyPress{Key::Down, 0};
        case KEY_HOME: return KeyPress{Key::Home, 0};
        case KEY_END: return KeyPress{Key::End, 0};
        default:
          if (key == static_cast<wint_t>(KEY_F(1))) return KeyPress{Key::F1, 0};
          return std::nullopt;  // KEY_RESIZE and the rest: the loop repaints
      }
    }
    switch (key) {
      case L'\r':
      case L'\n': return KeyPress{Key::Enter, 0};
      case L'\t': return KeyPress{Key::Tab, 0};
      case 27: return KeyPress{Key::Escape, 0};
      case 8:
      case 127: return KeyPress{Key::Backspace, 0};
      default: return KeyPress{Key::Character, static_cast<char32_t>(key)};
    }
  }
};

}  // namespace

std::shared_ptr<Presenter> MakeTerminalPresenter() { return std::make_shared<TerminalPresenter>(); }

}  // namespace quornel::vcl
