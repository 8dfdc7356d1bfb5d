#!/usr/bin/env bash
# Builds the libFuzzer targets (preset fuzz: clang with AddressSanitizer and
# UndefinedBehaviorSanitizer) and runs each for TONARA_FUZZ_SECONDS seconds
# (60 unless set). Corpora stay in build-fuzz/fuzz/corpus, so each run goes on
# from the last; an input that crashes is kept in build-fuzz/fuzz/artifacts.
# Extra arguments go to ctest (for example -R frame_cutter).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
# Lets ccache share results between checkouts in different folders.
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
export TONARA_FUZZ_SECONDS="${TONARA_FUZZ_SECONDS:-60}"
cmake --preset fuzz
cmake --build --preset fuzz -j "$(nproc)"
ctest --preset fuzz "$@"
