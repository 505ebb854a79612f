#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Zaredezid need.
# Only packages that are missing are installed, so a ready machine pays nothing.
set -euo pipefail

packages=(
    cmake g++ make pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev
    # Qt's platform plugin for Wayland desktops, where the program runs natively.
    qt6-wayland
    libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri
    libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev
    gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
    gstreamer1.0-plugins-ugly gstreamer1.0-libav
    libevdev-dev
    # The X connection's state, which tells a display lost under the GL driver.
    libxcb1-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core
    # dpkg-shlibdeps, which finds the Debian package's library dependencies.
    dpkg-dev
)
if [ "${1:-}" = "--test" ]; then
    # clang and its runtimes build the libFuzzer targets in fuzz/; the next
    # validate what an installation holds; the next boot the virtual machine
    # whose kernel has the joystick and camera devices (tests/vm/); weston is
    # the headless Wayland compositor the view is tested under.
    packages+=(xvfb xauth x11-utils clang libclang-rt-14-dev
        desktop-file-utils appstream file groff-base binutils libxml2-utils
        qemu-system-x86 busybox-static kmod cpio v4l-utils udev weston)
    # SDL2 reads the virtual joystick as games do; systemd's udev rules tag a
    # joystick for the logged-in user, and the virtual machine's udev reads
    # them from this machine's root filesystem.
    packages+=(libsdl2-dev systemd)
    # A private session bus for the remote-control tests (dbus-run-session).
    packages+=(dbus-daemon dbus-bin)
    # Debian's own checker of the package.
    packages+=(lintian)
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
