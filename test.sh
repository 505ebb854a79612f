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
trap 'rm -rf "$scratch"' EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_CACHE_HOME="$scratch/cache"
export XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# A case is tried a second time before it fails the run: starting a virtual X
# server can race with another one starting on the same machine, and a client
# then fails to connect. Both attempts stay in the log.
summaries="$scratch/summaries"
run_ctest() {
    local build_dir=$1
    shift
    (cd "$build_dir" &&
        xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j 2 --timeout 300 \
            --repeat until-pass:2 "$@") | tee -a "$summaries"
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
# GLib's slice allocator recycles GStreamer's buffers behind the sanitizers'
# backs; with plain malloc they see every buffer's lifetime.
export G_SLICE=always-malloc

echo "== Test suite under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZAREDEZID_SANITIZE=address \
    -DZAREDEZID_BENCHMARKS=OFF >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS="$common_options:detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=0" \
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
    'cd build-test && ZAREDEZID_DEVICES_PRESENT=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --verbose --timeout 300 -L device' | tee -a "$summaries"

echo "== Fuzz targets, briefly"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DZAREDEZID_FUZZ=ON -DZAREDEZID_SANITIZE=address \
    -DZAREDEZID_TESTS=OFF -DZAREDEZID_BENCHMARKS=OFF >/dev/null
cmake --build build-fuzz -j "$jobs" --target zaredezid_fuzzers
ASAN_OPTIONS="$common_options:detect_leaks=1" \
    LSAN_OPTIONS="suppressions=$sanitizers/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS="$common_options:suppressions=$sanitizers/ubsan.supp" \
    xvfb-run -a -s "-screen 0 1280x1024x24" fuzz/run-fuzzers.sh build-fuzz "${ZAREDEZID_FUZZ_SECONDS:-20}"
print_totals
