#!/usr/bin/env bash
# Installs what is missing, builds with AddressSanitizer and UndefinedBehaviorSanitizer, runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZEVADAV_SANITIZE=ON
cmake --build build-asan -j2
# One test at a time: the end-to-end tests measure waits on real pseudo-terminals.
ctest --test-dir build-asan --output-on-failure
