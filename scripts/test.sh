#!/usr/bin/env bash
# Builds everything and runs every test. TONARA_PRESET=asan runs them under
# AddressSanitizer and UndefinedBehaviorSanitizer; extra arguments go to ctest
# (for example -L e2e, or -LE screenshots).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
preset="${TONARA_PRESET:-default}"
# Lets ccache share results between checkouts in different folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" "$@"
