#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
build=${BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$(nproc)"
if [ -x "$build/bin/tarvellite" ]; then
    exec "$build/bin/tarvellite" "$@"
fi
# Until the windowed program exists: the typing engine at work on the command line.
cli="$build/bin/tarvellite-cli"
show() { printf '%-6s %-34s -> %s\n' "$1" "$2" "$("$cli" type --language "$1" ${3:-} -- "$2")"; }
show EN 'Hello, world!'
for lang in HI KN TA TE ML SI; do
    [ "$("$cli" type --language "$lang" -- a 2>/dev/null)" ] || continue
    show "$lang" 'namaste'
done
