#!/usr/bin/env bash
# Every program the README tells the user to run from build/ must be what
# run.sh builds there: the path must exist in a build tree, and run.sh's
# build line must name the target that makes it.
#   ReadmePaths.sh <source dir> <build dir>
set -euo pipefail
source_dir=$1
build_dir=$2

paths=$(grep -oE '(^|[[:space:]`])build/[A-Za-z0-9_./-]+' "$source_dir/README.md" |
    sed -E 's/^[[:space:]`]*build\///' | sort -u)
[ -n "$paths" ] || { echo "the README names no program under build/"; exit 1; }
# The words after --target on run.sh's "cmake --build build" line.
targets=" $(awk '$1 == "cmake" && $2 == "--build" && $3 == "build" {
    for (i = 4; i <= NF; i++) if ($i == "--target")
        for (j = i + 1; j <= NF && $j !~ /^-/; j++) printf "%s ", $j
}' "$source_dir/run.sh")"

status=0
for path in $paths; do
    if [ ! -x "$build_dir/$path" ] || [ -d "$build_dir/$path" ]; then
        echo "README names build/$path, which is no program in the build tree"
        status=1
    fi
    if [[ "$targets" != *" $(basename "$path") "* ]]; then
        echo "README names build/$path, but run.sh builds only:$targets"
        status=1
    fi
done
exit $status
