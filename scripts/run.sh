#!/usr/bin/env bash
# Builds and starts tonara. Arguments go to the application (for example --device /dev/ttyUSB0).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Lets ccache share results between checkouts in different folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
cmake --preset default >/dev/null
cmake --build --preset default --target tonara tonara-sim tonara-link
exec build/src/app/tonara "$@"
