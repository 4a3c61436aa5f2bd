#!/usr/bin/env bash
# Builds the Debian package of the program (build-release/tarvellite_*.deb).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
command -v dpkg-shlibdeps >/dev/null || {
    sudo=(); [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" apt-get install -y -qq --no-install-recommends dpkg-dev >/dev/null
}
build=${BUILD_DIR:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DTARVELLITE_BUILD_TESTS=OFF -DTARVELLITE_BUILD_BENCH=OFF >/dev/null
cmake --build "$build" --parallel "$(nproc)"
(cd "$build" && cpack -G DEB)
ls "$build"/tarvellite_*.deb
