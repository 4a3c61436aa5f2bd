#!/usr/bin/env bash
# The real program under Xvfb with accessibility on, inspected and driven over AT-SPI.
#   accessibility_e2e.sh PROGRAM
set -euo pipefail
program=$1
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

# A session bus of our own with the accessibility bus on it; the program and the checker meet
# there.
dbus-run-session -- bash -c '
    launcher=$(ls /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher 2>/dev/null | head -1)
    "$launcher" --launch-immediately &
    sleep 0.5
    "$1" >"$2/app.log" 2>&1 &
    app=$!
    # Past the splash.
    sleep 2
    status=0
    /usr/bin/python3 "$3/accessibility_e2e.py" || status=$?
    kill $app 2>/dev/null || true
    [ $status -eq 0 ] || cat "$2/app.log" >&2
    exit $status
' accessibility "$program" "$work" "$here"
