#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need, and nothing when all
# of them are there. Safe to run again.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang-format
    libgtest-dev googletest libgmock-dev libbenchmark-dev
    libicu-dev
    qt6-base-dev qt6-base-private-dev libx11-dev
    xvfb xauth xdotool
    dbus at-spi2-core python3-pyatspi
    fonts-noto-core
    emacs-nox
)

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi
echo "deps: installing ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq >/dev/null
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
