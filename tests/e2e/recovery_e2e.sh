#!/usr/bin/env bash
# The program killed after an auto-save pass, or a moment after a termination request, and
# started again: its documents come back.
#   recovery_e2e.sh PROGRAM CLI
set -euo pipefail
program=$1
cli=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
cleanup() {
    [ -n "${xvfb:-}" ] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x860x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local"
mkdir -p "$HOME/Documents"
unset QT_QPA_PLATFORM
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
# Five-minute auto-save at a fifth of a second a minute: a pass every second.
export TARVELLITE_AUTOSAVE_TICK_MS=200

printf 'Dear reader,\n' >"$work/letter.txt"
"$cli" convert "$work/letter.txt" "$work/letter.tvl" >/dev/null

dbus-run-session -- bash -c '
    launcher=$(ls /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher 2>/dev/null | head -1)
    "$launcher" --launch-immediately &
    sleep 0.5
    /usr/bin/python3 "$3/recovery_e2e.py" "$1" "$2"
' recovery "$program" "$work" "$here"
