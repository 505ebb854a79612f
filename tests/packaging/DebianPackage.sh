#!/usr/bin/env bash
# Builds the Debian package from this build tree into a scratch folder and
# checks its file list and control fields.
#   DebianPackage.sh <source dir> <build dir>
set -euo pipefail
build_dir=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# cpack would first build the tree's preinstall target, which walks (and may
# rebuild) the whole tree while other tests run from it; the tree is built
# already, so its install script is run directly, under the prefix the
# package is configured for.
packaging_prefix=$(sed -nE 's/^set\(CPACK_PACKAGING_INSTALL_PREFIX "(.*)"\)$/\1/p' \
    "$build_dir/CPackConfig.cmake")
# The programs are stripped, as cpack strips them when it installs by itself.
cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$out" \
    -D CPACK_INSTALL_CMAKE_PROJECTS= -D CPACK_INSTALL_SCRIPTS="$build_dir/cmake_install.cmake" \
    -D CPACK_INSTALL_PREFIX="$packaging_prefix" -D CMAKE_INSTALL_DO_STRIP=1 >/dev/null

version=$(sed -nE 's/^set\(CPACK_PACKAGE_VERSION "(.*)"\)$/\1/p' "$build_dir/CPackConfig.cmake")
deb="$out/zaredezid_${version}_amd64.deb"
[ -f "$deb" ] || { echo "no $(basename "$deb") in: $(ls "$out")"; exit 1; }

files=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
for path in ./usr/bin/zaredezid ./usr/bin/zaredezid-track \
    ./usr/share/applications/io.github.zaredezid.desktop ./usr/share/man/man1/zaredezid.1.gz \
    ./usr/share/icons/hicolor/32x32/apps/io.github.zaredezid.png \
    ./usr/lib/udev/rules.d/70-zaredezid-uinput.rules \
    ./usr/share/metainfo/io.github.zaredezid.metainfo.xml ./usr/share/doc/zaredezid/copyright \
    ./usr/share/doc/zaredezid/changelog.gz \
    ./usr/share/dbus-1/interfaces/io.github.zaredezid.Control.xml; do
    grep -qxF "$path" <<<"$files" || { echo "the package lacks $path"; exit 1; }
done

field() { dpkg-deb -f "$deb" "$1"; }
expect() {
    grep -qE "$2" <<<"$(field "$1")" || { echo "$1 is \"$(field "$1")\", expected $2"; exit 1; }
}
expect Package '^zaredezid$'
expect Version "^${version//./\\.}$"
expect Architecture '^amd64$'
for dependency in libqt6widgets6 libqt6opengl6 libgstreamer1.0-0 gstreamer1.0-plugins-base \
    gstreamer1.0-plugins-good; do
    expect Depends "(^|, )${dependency//./\\.}( |,|$)"
done
expect Recommends '(^|, )gstreamer1\.0-libav( |,|$)'
expect Recommends '(^|, )qt6-wayland( |,|$)'
if grep -q 'qt5' <<<"$(field Depends)"; then
    echo "Depends names a Qt 5 library: $(field Depends)"
    exit 1
fi
expect Description '.'

# The maintainer scripts are there, executable and sound shell.
control=$(mktemp -d -p "$out")
dpkg-deb -e "$deb" "$control"
for script in postinst postrm; do
    [ -x "$control/$script" ] || { echo "the package lacks an executable $script"; exit 1; }
    sh -n "$control/$script"
done

# Debian's policy as lintian checks it: no errors.
errors=$(lintian --tag-display-limit 0 "$deb" 2>&1 | grep '^E:' || true)
[ -z "$errors" ] || { echo "$errors"; exit 1; }
