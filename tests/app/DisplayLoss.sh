#!/usr/bin/env bash
# The program on a display that goes away under it, as when an X server or a
# Wayland compositor ends while the demo camera runs: at varied moments,
# during the splash and with the main window up, the server is killed. Each
# time the program must end within 5 s with a failure status, not by a
# signal, and with the main window up it saves the settings first. A display
# gone before the program connects is refused in one line. Under Wayland, a
# termination signal closes the program cleanly as well.
#
#   tests/app/DisplayLoss.sh PROGRAM
set -uo pipefail
program=$1
scratch=$(mktemp -d)
server=""
trap '[ -z "$server" ] || kill -9 "$server" 2>/dev/null; rm -rf "$scratch"' EXIT
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

start_x_server() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$run/display" 2>/dev/null &
    server=$!
    for _ in $(seq 100); do grep -q '^[0-9]' "$run/display" && break; sleep 0.1; done
    environment=(DISPLAY=":$(cat "$run/display")" QT_QPA_PLATFORM=xcb)
}

start_compositor() {
    weston --backend=headless-backend.so --use-gl --socket=wayland-loss --idle-time=0 \
        >"$run/weston.log" 2>&1 &
    server=$!
    for _ in $(seq 100); do [ -S "$XDG_RUNTIME_DIR/wayland-loss" ] && break; sleep 0.1; done
    environment=(DISPLAY= WAYLAND_DISPLAY=wayland-loss QT_QPA_PLATFORM=wayland)
}

# Starts the program on a new server of the given kind, in folders of its own.
start_program() {
    run=$(mktemp -d -p "$scratch")
    export XDG_CONFIG_HOME="$run/config" XDG_RUNTIME_DIR="$run/runtime"
    mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
    "start_$1"
    env "${environment[@]}" "$program" --demo >"$run/output" 2>&1 &
    pid=$!
}

# Waits up to five seconds for the program's end; sets its status, or
# "running".
wait_for_end() {
    for _ in $(seq 50); do
        if ! kill -0 "$pid" 2>/dev/null; then
            wait "$pid"
            status=$?
            return
        fi
        sleep 0.1
    done
    status=running
    kill -9 "$pid"
    wait "$pid" 2>/dev/null
}

settings="config/Ruveviv/Vizezu Verizuvuz.conf"
moment=0
for kind in x_server compositor x_server compositor x_server compositor \
    x_server compositor x_server compositor x_server compositor; do
    # From within the splash to well after the window appeared, 3 s in.
    moment=$(((moment + 700) % 6300 + 500))
    start_program "$kind"
    sleep "$((moment / 1000)).$(printf '%03d' $((moment % 1000)))"
    kill -9 "$server"
    wait_for_end
    what="$kind killed after $moment ms"
    if [ "$status" = running ]; then
        fail "$what: the program was still running 5 s later"
    elif [ "$status" -eq 0 ] || [ "$status" -gt 128 ]; then
        fail "$what: the program ended with status $status"
    elif [ "$moment" -gt 4500 ] && [ ! -s "$run/$settings" ]; then
        fail "$what: the settings were not saved"
    else
        echo "ok: $what: status $status"
    fi
    [ "$status" = 1 ] || sed 's/^/    /' "$run/output"
done

# A display already gone when the program connects, as when it is started
# just after the server ended: one line and a failure status, no abort.
for display in DISPLAY=:65000 "WAYLAND_DISPLAY=gone QT_QPA_PLATFORM=wayland"; do
    env DISPLAY= $display "$program" >"$scratch/output" 2>&1
    status=$?
    if [ "$status" -ne 1 ] || ! grep -q "cannot connect to the display" "$scratch/output"; then
        fail "no display behind $display: status $status"
        sed 's/^/    /' "$scratch/output"
    else
        echo "ok: no display behind $display: status 1"
    fi
done

start_program compositor
sleep 5
kill -TERM "$pid"
wait_for_end
if [ "$status" != 0 ] || [ ! -s "$run/$settings" ]; then
    fail "a termination signal under Wayland: status $status, settings saved: $([ -s "$run/$settings" ] && echo yes || echo no)"
    sed 's/^/    /' "$run/output"
else
    echo "ok: a termination signal under Wayland closes the program and saves the settings"
fi
kill -9 "$server" 2>/dev/null
exit $((failures > 0))
