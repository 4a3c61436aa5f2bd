#!/usr/bin/env bash
# Fails when a tracked C++ file differs from what clang-format makes of it.
set -euo pipefail
cd "$(dirname "$0")/.."
command -v clang-format >/dev/null || scripts/deps.sh
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
