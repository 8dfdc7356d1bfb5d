#!/usr/bin/env bash
# Builds everything and runs every test. TONARA_PRESET=asan runs them under the sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
preset="${TONARA_PRESET:-default}"
cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --preset "$preset" "$@"
