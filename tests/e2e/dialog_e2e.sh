#!/usr/bin/env bash
# Drives the replacement dialog of filter 9 on a real terminal: tmux runs
# `quornel run 9` on a small file while this script reads the screen and
# types, then checks the output text and the bytes of the replacement table.
#   dialog_e2e.sh QUORNEL_EXE
# Exit 77 (skipped) when tmux is missing.
set -u

exe=${1:?usage: dialog_e2e.sh QUORNEL_EXE}
command -v tmux >/dev/null 2>&1 || { echo "tmux is not installed: skipped"; exit 77; }

work=$(mktemp -d)
socket="quornel-e2e-$$"
tmx() { tmux -L "$socket" "$@"; }
cleanup() {
  tmx kill-server >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*"
  echo "--- screen ---"
  tmx capture-pane -p -t e2e 2>/dev/null
  exit 1
}

screen() { tmx capture-pane -p -t e2e; }

# Waits up to 10 s for the screen to show (or, with "!", to stop showing) a text.
wait_for() {
  local negate=0 text=$1
  if [ "$text" = "!" ]; then negate=1; text=$2; fi
  for _ in $(seq 100); do
    if screen | grep -qF -- "$text"; then
      [ $negate -eq 0 ] && return 0
    else
      [ $negate -eq 1 ] && return 0
    fi
    sleep 0.1
  done
  return 1
}

# U+301C WAVE DASH and U+2665 BLACK HEART SUIT have no CP932 form: one dialog each.
printf 'a\xe3\x80\x9cb\xe2\x99\xa5c\n' > "$work/in.txt"
mkdir "$work/tables"

tmx -f /dev/null new-session -d -s e2e -x 100 -y 30 \
  "env QUORNEL_ACP=932 LANG=C.UTF-8 LC_ALL= LESS= PAGER= '$exe' run 9 --table-dir '$work/tables' \
     -o '$work/out.txt' '$work/in.txt' 2> '$work/err.txt'; echo \$? > '$work/rc'; sleep 60" \
  || fail "tmux did not start"

# First question: the wave dash.
wait_for "U+301C" || fail "the dialog for U+301C did not appear"
screen | grep -qF "ShiftJIS置換文字指定" || fail "no caption"
screen | grep -qF "ShiftJIS置換" || fail "no kind list"

# Enter before any answer does not close the dialog.
tmx send-keys -t e2e Enter
sleep 0.5
screen | grep -qF "U+301C" || fail "Enter closed the dialog before OK was the default button"

# F1 shows the help topic; q comes back to the same dialog.
tmx send-keys -t e2e F1
wait_for "Remembered answers" || fail "F1 showed no help topic"
tmx send-keys -t e2e q
wait_for "U+301C" || fail "the dialog did not come back after the help"

# Kind 0: type the replacement (a full-width tilde, which CP932 has) and press Enter.
tmx send-keys -t e2e -l $'\xef\xbd\x9e'
sleep 0.3
tmx send-keys -t e2e Enter

# Second question: the heart. Kind 1 ("置換なし") from the keyboard, then Enter.
wait_for "U+2665" || fail "the dialog for U+2665 did not appear"
tmx send-keys -t e2e Tab Down
wait_for "置換なし" || fail "Down did not choose kind 1"
tmx send-keys -t e2e Enter

for _ in $(seq 100); do [ -s "$work/rc" ] && break; sleep 0.1; done
[ -s "$work/rc" ] || fail "quornel did not finish"
[ "$(cat "$work/rc")" = 0 ] || { cat "$work/err.txt"; fail "quornel exited with $(cat "$work/rc")"; }

expected_out=$(printf 'a\xef\xbd\x9eb\xe2\x99\xa5c\n' | od -An -tx1)
actual_out=$(od -An -tx1 < "$work/out.txt")
[ "$actual_out" = "$expected_out" ] || fail "output text: $actual_out, expected $expected_out"

# Most recent answer first: U+2665 kept as itself, then U+301C -> U+FF5E.
expected_table=$(printf '\xff\xfe\x65\x26\x65\x26\x0d\x00\x0a\x00\x1c\x30\x5e\xff\x0d\x00\x0a\x00' | od -An -tx1)
actual_table=$(od -An -tx1 < "$work/tables/Quornel_SJIS.tbl" 2>/dev/null)
[ "$actual_table" = "$expected_table" ] || fail "table file: $actual_table, expected $expected_table"

echo "PASS: dialog answered on the terminal; output and table file as expected"
