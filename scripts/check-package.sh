#!/usr/bin/env bash
# Builds the Debian package, installs it (needs root or sudo: it goes to /usr), and checks the
# installed program the way a desktop user reaches it: the menu entry validates and a .tvl file
# opened with xdg-open shows in the program's window.
set -euo pipefail
cd "$(dirname "$0")/.."
sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
"${sudo[@]}" apt-get install -y -qq --no-install-recommends xdg-utils shared-mime-info \
    desktop-file-utils >/dev/null
scripts/package.sh >/dev/null
"${sudo[@]}" apt-get install -y -qq ./build-release/tarvellite_*.deb >/dev/null
desktop-file-validate /usr/share/applications/tarvellite.desktop

work=$(mktemp -d)
trap 'pkill -f /usr/bin/tarvellite || true; rm -rf "$work"' EXIT
export HOME="$work" XDG_CONFIG_HOME="$work/.config"
mkdir -p "$HOME/Documents"
printf 'A document opened from the file manager\n' >"$work/in.txt"
tarvellite-cli convert "$work/in.txt" "$work/sample.tvl"
[ "$(xdg-mime query filetype "$work/sample.tvl")" = application/x-tarvellite ]
xvfb-run -a -s "-screen 0 1280x860x24" bash -c '
    xdg-open "$1" &
    timeout 20 xdotool search --sync --name "sample.tvl - TarvelLite" >/dev/null
' check "$work/sample.tvl"
echo "package: installed, menu entry valid, sample.tvl opened by xdg-open"
