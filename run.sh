#!/usr/bin/env bash
# Installs what is missing, builds a Release build and starts Zaredezid.
# Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DZAREDEZID_TESTS=OFF -DZAREDEZID_BENCHMARKS=OFF >/dev/null
cmake --build build --target zaredezid zaredezid-track -j "$(nproc)"
# Without a webcam there would be nothing to steer with: offer the demo camera.
if [ $# -eq 0 ] && ! compgen -G "/dev/video*" >/dev/null; then
    echo "No camera found: starting with the demo camera (--demo)."
    set -- --demo
fi
exec build/app/zaredezid "$@"
