#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts Zaredezid.
# Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZAREDEZID_TESTS=OFF -DZAREDEZID_BENCHMARKS=OFF >/dev/null
cmake --build build --target zaredezid zaredezid-track -j "$(nproc)"
exec build/app/zaredezid "$@"
