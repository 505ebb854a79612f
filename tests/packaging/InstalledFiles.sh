#!/usr/bin/env bash
# Builds the programs, installs the build tree into a scratch prefix and
# checks what a desktop and the distribution's tools expect there: the exact
# file list, a valid desktop entry and an AppStream tree without warnings,
# manual pages that render without warnings, icons of the sizes their folders
# promise, and programs that run from the prefix.
#   InstalledFiles.sh <source dir> <build dir>
set -euo pipefail
build_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
# As straight after the run script, which builds only the two programs: what
# their installation needs besides them is made with them.
rm -rf "$build_dir/packaging/icons" "$build_dir/packaging/compressed"
cmake --build "$build_dir" --target zaredezid zaredezid-track >/dev/null
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

expected="bin/zaredezid
bin/zaredezid-track
lib/udev/rules.d/70-zaredezid-uinput.rules
share/applications/io.github.zaredezid.desktop
share/dbus-1/interfaces/io.github.zaredezid.Control.xml
share/doc/zaredezid/README.md
share/doc/zaredezid/changelog.gz
share/doc/zaredezid/copyright
share/icons/hicolor/128x128/apps/io.github.zaredezid.png
share/icons/hicolor/256x256/apps/io.github.zaredezid.png
share/icons/hicolor/32x32/apps/io.github.zaredezid.png
share/icons/hicolor/64x64/apps/io.github.zaredezid.png
share/man/man1/zaredezid-track.1.gz
share/man/man1/zaredezid.1.gz
share/metainfo/io.github.zaredezid.metainfo.xml
share/zaredezid/flightgear/zaredezid.xml"
diff <(echo "$expected") <(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)

desktop-file-validate "$prefix/share/applications/io.github.zaredezid.desktop"
xmllint --noout --nonet "$prefix/share/dbus-1/interfaces/io.github.zaredezid.Control.xml"
# The whole tree, so that the AppStream id is checked against the names of
# the desktop entry and the icon; warnings count as failures too.
validation=$(appstreamcli validate-tree --no-net --no-color "$prefix" 2>&1) ||
    { echo "$validation"; exit 1; }
if grep -qE '^\s*[WE]:' <<<"$validation"; then
    echo "$validation"
    exit 1
fi
for page in "$prefix"/share/man/man1/*.1.gz; do
    warnings=$(zcat "$page" | LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
for size in 32 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/io.github.zaredezid.png"
    file -b "$icon" | grep -q "^PNG image data, $size x $size, 8-bit/color RGBA" ||
        { echo "$icon is not a ${size} px PNG with transparency: $(file -b "$icon")"; exit 1; }
done

# The programs must not look for libraries in the build tree.
for program in zaredezid zaredezid-track; do
    if readelf -d "$prefix/bin/$program" | grep -E 'R(UN)?PATH'; then
        echo "$program keeps a run path"
        exit 1
    fi
done
# --help and --version print their own text and nothing of the capture
# layer, whose banner comes with its first use.
banner='ZAREDEZID CAPTURE LAYER'
version=$("$prefix/bin/zaredezid" --version 2>&1)
grep -qx 'Zaredezid [0-9.]*' <<<"$version" || { echo "zaredezid --version printed: $version"; exit 1; }
for program in zaredezid zaredezid-track; do
    help=$("$prefix/bin/$program" --help 2>&1)
    grep -q -- '--demo' <<<"$help" || { echo "no help from $program: $help"; exit 1; }
    if grep -q "$banner" <<<"$help"; then
        echo "$program --help printed the capture layer's banner"
        exit 1
    fi
done
run=$("$prefix/bin/zaredezid-track" --demo --frames 1 2>&1)
grep -q "$banner" <<<"$run" || { echo "no capture layer banner on a run: $run"; exit 1; }
