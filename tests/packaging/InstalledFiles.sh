#!/usr/bin/env bash
# Installs the build tree into a scratch prefix and checks what a desktop
# and the distribution's tools expect there: the exact file list, a valid
# desktop entry and AppStream file, manual pages that render without
# warnings, icons of the sizes their folders promise, and programs that run
# from the prefix.
#   InstalledFiles.sh <source dir> <build dir>
set -euo pipefail
build_dir=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build_dir" --prefix "$prefix" >/dev/null

expected="bin/zaredezid
bin/zaredezid-track
lib/udev/rules.d/70-zaredezid-uinput.rules
share/applications/zaredezid.desktop
share/dbus-1/interfaces/io.github.zaredezid.Control.xml
share/doc/zaredezid/LICENSE
share/doc/zaredezid/README.md
share/icons/hicolor/128x128/apps/zaredezid.png
share/icons/hicolor/256x256/apps/zaredezid.png
share/icons/hicolor/32x32/apps/zaredezid.png
share/icons/hicolor/64x64/apps/zaredezid.png
share/man/man1/zaredezid-track.1
share/man/man1/zaredezid.1
share/metainfo/zaredezid.metainfo.xml
share/zaredezid/flightgear/zaredezid.xml"
diff <(echo "$expected") <(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)

desktop-file-validate "$prefix/share/applications/zaredezid.desktop"
xmllint --noout --nonet "$prefix/share/dbus-1/interfaces/io.github.zaredezid.Control.xml"
appstreamcli validate --no-net "$prefix/share/metainfo/zaredezid.metainfo.xml" >/dev/null
for page in "$prefix"/share/man/man1/*.1; do
    warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || { echo "$page: $warnings"; exit 1; }
done
for size in 32 64 128 256; do
    icon="$prefix/share/icons/hicolor/${size}x${size}/apps/zaredezid.png"
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
version=$("$prefix/bin/zaredezid" --version)
grep -q '^Zaredezid [0-9]' <<<"$version" || { echo "no version from zaredezid: $version"; exit 1; }
help=$("$prefix/bin/zaredezid-track" --help 2>/dev/null)
grep -q -- '--video' <<<"$help" || { echo "no help from zaredezid-track: $help"; exit 1; }
