#!/usr/bin/env bash
# The whole program's CPU use with the demo camera at 320x240 and 30 fps:
# first with the window shown, then with it unmapped, as a window manager
# does when it minimises it. Run under an X server (Xvfb will do); needs
# xdotool.
#
#   bench/program-cpu.sh PROGRAM [SECONDS]
set -euo pipefail
program=$1
seconds=${2:-10}
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
mkdir -p "$config/Ruveviv"
printf '[settings]\nCameraId=0\nFPSId=1\nResolutionId=1\n' >"$config/Ruveviv/Vizezu Verizuvuz.conf"
XDG_CONFIG_HOME=$config "$program" --demo >/dev/null 2>&1 &
pid=$!
# The splash, the window and the camera's start.
sleep 8
ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat"; }
measure() {
    local before after
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    awk -v t="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$seconds" \
        'BEGIN { printf "%.1f %%\n", 100 * t / hz / s }'
}
echo "shown: $(measure)"
for window in $(xdotool search --pid "$pid"); do
    xdotool windowunmap "$window" 2>/dev/null || true
done
sleep 2
echo "minimised: $(measure)"
kill -TERM "$pid"
wait "$pid"
