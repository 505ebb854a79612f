#!/usr/bin/env bash
# Installs what is missing, builds everything with warnings as errors and runs
# the whole test suite through CTest under a virtual X server. Then runs the
# suite again under AddressSanitizer and UndefinedBehaviorSanitizer, the
# threading tests under ThreadSanitizer, the device tests in a virtual machine
# and each fuzz target for a short while. Any sanitizer report fails the run.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh --test
jobs=$(nproc)
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAREDEZID_WERROR=ON >/dev/null
cmake --build build-test -j "$jobs"

# Tests must never touch the user's own settings, caches or runtime folder.
scratch=$(mktemp -d)
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
# Nor the user's session bus, where a running Zaredezid would answer the
# tests' calls: the cases that need a bus start a private one each
# (dbus-run-session), and all others find none.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$scratch/no-session-bus"

# One virtual X server for every stage on this machine. Xvfb picks a free
# display itself and says which once it accepts clients, so it cannot race
# with another server starting at the same moment, as a display number
# guessed beforehand can. By default an X server resets whenever its last
# client leaves and refuses connections meanwhile: a test starting just as
# another ends would then fail to open its window, so it never resets.
start_x_server() {
    local display_file="$scratch/display"
    Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" \
        >"$scratch/xvfb.log" 2>&1 &
    x_server=$!
    for _ in $(seq 300); do
        grep -q '^[0-9]\+$' "$display_file" && break
        kill -0 "$x_server" 2>/dev/null || break
        sleep 0.1
    done
    if ! grep -q '^[0-9]\+$' "$display_file"; then
        echo "test.sh: the virtual X server did not start:" >&2
        cat "$scratch/xvfb.log" >&2
        exit 1
    fi
    export DISPLAY=":$(cat "$display_file")"
}
x_server=""
trap '[ -z "$x_server" ] || kill "$x_server" 2>/dev/null; rm -rf "$scratch"' EXIT
start_x_server

# Every case runs once: a case that fails, leaks or crashes on one attempt in
# twenty has a fault, and a second attempt would hide it.
summaries="$scratch/summaries"
run_ctest() {
    local build_dir=$1
    shift
    (cd "$build_dir" && ctest --output-on-failure -j 2 --timeout 300 "$@") | tee -a "$summaries"
}

# One closing line for every stage's test cases together.
print_totals() {
    awk '/tests passed, [0-9]+ tests? failed out of/ { failed += $4; total += $NF }
         END { printf "tests: %d passed, %d failed\n", total - failed, failed }' "$summaries"
}

echo "== Test suite"
run_ctest build-test

# The sanitized builds have no benchmarks and no warnings-as-errors: the
# sanitizers' instrumentation makes the compiler warn about code it rewrote.
sanitizers="$PWD/tests/sanitizers"
common_options="halt_on_error=1:abort_on_error=0:exitcode=66:print_stacktrace=1"
# GCC 12's AddressSanitizer runtime takes a thread's dynamic TLS block for
# one with an old glibc's header whenever the block happens to start 16
# bytes into a page, and reads its bounds from the two words before it; the
# leak check at exit then dies ("Tracer caught signal 11") in a run that
# leaked nothing, once in a few hundred. glibc has had no such header since
# 2.25, and the blocks it now allocates are scanned as ordinary heap.
asan_options="$common_options:detect_leaks=1:intercept_tls_get_addr=0"
# GLib's slice allocator recycles GStreamer's buffers behind the sanitizers'
# backs; with plain malloc they see every buffer's lifetime.
export G_SLICE=always-malloc

echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAREDEZID_SANITIZE=address \
    -DZAREDEZID_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS="$asan_options:strict_init_order=1:detect_stack_use_after_return=0" \
    LSAN_OPTIONS="suppressions=$sanitizers/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="$common_options:suppressions=$sanitizers/ubsan.supp" \
    run_ctest build-asan

echo "== Threading tests under ThreadSanitizer"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAREDEZID_SANITIZE=thread \
    -DZAREDEZID_BENCHMARKS=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target zaredezid_threading_tests
# ThreadSanitizer slows the demo camera's set-up several times over; a fifth
# of the soak's cycles keeps this stage within a few minutes. Only this
# program's own code is checked: the C library calls that Qt, GLib, GStreamer
# and Mesa make are not, as those libraries are not built for ThreadSanitizer.
tsan_options="$common_options:second_deadlock_stack=1:ignore_noninstrumented_modules=1"
TSAN_OPTIONS="$tsan_options:suppressions=$sanitizers/tsan.supp" ZAREDEZID_SOAK_CYCLES=200 \
    run_ctest build-tsan -L threading

echo "== Device tests in a virtual machine"
# No build machine has uinput or a camera; Debian's own kernel, booted under
# emulation with its virtual camera module, has both. The cases labelled
# device skip in the stages above and run here, once: the window's case ends
# by unplugging the only camera, so a second attempt would have none. Their
# output is shown in full: the camera's sizes and rates, asked and received.
ZAREDEZID_VM_SECONDS=1200 tests/vm/run-in-vm.sh build-test/vm sh -c \
    'cd build-test && ZAREDEZID_DEVICES_PRESENT=1 xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" \
        ctest --verbose --timeout 300 -L device' | tee -a "$summaries"

echo "== Fuzz targets, briefly"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZAREDEZID_FUZZ=ON -DZAREDEZID_SANITIZE=address \
    -DZAREDEZID_TESTS=OFF -DZAREDEZID_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target zaredezid_fuzzers
ASAN_OPTIONS="$asan_options" \
    LSAN_OPTIONS="suppressions=$sanitizers/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="$common_options:suppressions=$sanitizers/ubsan.supp" \
    fuzz/run-fuzzers.sh build-fuzz "${ZAREDEZID_FUZZ_SECONDS:-20}"
print_totals
