#!/usr/bin/env bash
# Runs one command as a native Wayland client of a compositor of its own:
# Debian's weston with its headless backend and GL renderer, which Mesa's
# software rasteriser drives where there is no GPU.
#
#   tests/support/under-weston.sh COMMAND [ARGUMENT...]
#
# The command's exit status is this script's.
set -euo pipefail

runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=""
trap '[ -z "$weston_pid" ] || kill "$weston_pid" 2>/dev/null; rm -rf "$runtime"' EXIT

export XDG_RUNTIME_DIR="$runtime"
weston --backend=headless-backend.so --use-gl --socket=wayland-test --idle-time=0 \
    --width=1280 --height=1024 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$runtime/wayland-test" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -S "$runtime/wayland-test" ]; then
    echo "under-weston: the compositor did not start:" >&2
    cat "$runtime/weston.log" >&2
    exit 1
fi

unset DISPLAY
WAYLAND_DISPLAY=wayland-test QT_QPA_PLATFORM=wayland ZAREDEZID_PLATFORM=wayland "$@"
