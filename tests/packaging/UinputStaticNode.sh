#!/usr/bin/env bash
# The shipped uinput rule on a real udev, in the device stage's virtual
# machine only: it unloads uinput and restarts udev, which no test may do to
# the machine it runs on. As systemd does at boot, the static /dev/uinput
# node the kernel's module index declares is made before udev starts; udev
# must then tag it for the logged-in user, and its first open must load the
# module.
#   UinputStaticNode.sh <source dir>
set -euo pipefail
source_dir=$1
skip=77
if [ "${ZAREDEZID_DEVICES_PRESENT:-}" != 1 ] || [ ! -d /run/vm ] ||
    [ -z "${ZAREDEZID_VM_KERNEL_ROOT:-}" ]; then
    echo "runs only in the device stage's virtual machine"
    exit $skip
fi
fail() {
    echo "$*"
    exit 1
}
modules="$ZAREDEZID_VM_KERNEL_ROOT/lib/modules/$ZAREDEZID_VM_KERNEL_VERSION"

pkill -x systemd-udevd || true
while pgrep -x systemd-udevd >/dev/null; do sleep 0.1; done
if [ -d /sys/module/uinput ]; then
    rmmod uinput
fi
declared=$(grep '^uinput ' "$modules/modules.devname") ||
    fail "the kernel's modules.devname declares no static node for uinput"
read -r _ node major_minor <<<"$declared"
# c10:223 is character device 10, 223.
major=${major_minor#c}
rm -f "/dev/$node"
mknod -m 600 "/dev/$node" c "${major%%:*}" "${major#*:}"

cp "$source_dir/packaging/70-zaredezid-uinput.rules" /etc/udev/rules.d/
/lib/systemd/systemd-udevd --daemon
udevadm settle --timeout=30
tag=/run/udev/static_node-tags/uaccess/$node
[ "$(readlink "$tag" || true)" = "/dev/$node" ] || fail "udev did not tag the static node: no $tag"

# The kernel asks for the module by the node's numbers; its helper runs
# outside this machine's root, so it is pointed at modprobe in here.
helper=/run/vm/modprobe-helper
cat >"$helper" <<HELPER
#!/bin/busybox sh
exec /bin/busybox chroot /root /sbin/modprobe -d "$ZAREDEZID_VM_KERNEL_ROOT" \
    -S "$ZAREDEZID_VM_KERNEL_VERSION" "\$@"
HELPER
chmod +x "$helper"
echo "/root$helper" >/proc/sys/kernel/modprobe
exec 3<>"/dev/$node" || fail "the first open of /dev/$node failed"
exec 3>&-
[ -d /sys/module/uinput ] || fail "opening /dev/$node did not load uinput"
echo "udev tagged /dev/$node for the logged-in user, and its first open loaded uinput"
