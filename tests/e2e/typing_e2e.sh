#!/usr/bin/env bash
# End to end: the real program under Xvfb, real X key events from xdotool, a saved file.
# Opens an empty .txt file, switches to Tamil with F2, types phonetically, saves with Ctrl+S and
# checks the file's text.
#   typing_e2e.sh PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
cleanup() {
    [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own, and a home with no settings of the user's.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x860x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local"
mkdir -p "$HOME/Documents"
unset QT_QPA_PLATFORM

: >"$work/out.txt"
"$program" "$work/out.txt" >"$work/app.log" 2>&1 &
app=$!
timeout 30 xdotool search --sync --onlyvisible --name 'TarvelLite' >/dev/null
# The splash shows first; the main window follows and gets the keyboard.
sleep 2.5
window=$(xdotool search --onlyvisible --name 'TarvelLite' | tail -1)
xdotool windowfocus --sync "$window"
sleep 0.5
# English, Hindi, Kannada, Tamil: three presses of F2 reach Tamil, whose phonetic layout is
# the default.
xdotool key --delay 50 F2 F2 F2
xdotool type --delay 40 'vaNakkam thamizh'
xdotool key --delay 50 BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 40 'mizh'
xdotool key --delay 100 ctrl+s
# Plain text keeps no formatting: the program asks first; Yes is the default answer.
sleep 0.5
xdotool key --delay 100 Return
for _ in $(seq 50); do [ -s "$work/out.txt" ] && break; sleep 0.1; done

# Plain text is saved as UTF-16LE; compare as UTF-8.
text=$(iconv -f UTF-16LE -t UTF-8 "$work/out.txt" | tr -d '\r\n')
expected='வணக்கம் தமிழ்'
if [ "$text" != "$expected" ]; then
    echo "saved text: '$text'" >&2
    echo "expected:   '$expected'" >&2
    cat "$work/app.log" >&2
    exit 1
fi
echo "saved: $text"
