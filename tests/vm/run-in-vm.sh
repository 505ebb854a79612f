#!/usr/bin/env bash
# Runs one command inside a small virtual machine booted on Debian's own
# kernel, where the kernel's uinput and its virtual V4L2 camera (vivid) are
# real devices, as they are on no build machine.
#
#   tests/vm/run-in-vm.sh WORK_DIR COMMAND [ARGUMENT...]
#
# WORK_DIR keeps the downloaded kernel package between runs. The machine sees
# this machine's root filesystem read-only, under a memory-backed overlay, so
# every path (the build tree too) is the same inside and the command may
# write anywhere; nothing it writes comes back. It has no network, and runs
# under KVM where a short probe boot under it works, under emulation
# otherwise. The command runs in the current directory, told where the
# kernel's modules are (ZAREDEZID_VM_KERNEL_ROOT, ZAREDEZID_VM_KERNEL_VERSION,
# as modprobe's -d and -S take them); its output comes
# back on standard output and its exit status is this script's. A machine
# that does not boot or does not report a status fails with QEMU's exit
# status and the tail of its console.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 WORK_DIR COMMAND [ARGUMENT...]" >&2
    exit 2
fi
work_dir=$(realpath -m "$1")
shift
mkdir -p "$work_dir"

# Emulation without KVM is slow: the whole run gets this many seconds.
run_seconds=${ZAREDEZID_VM_SECONDS:-900}
vivid_options="n_devs=1 node_types=0x1 num_inputs=1 input_types=0x0 num_outputs=0"
# joydev gives a joystick the /dev/input/jsN node older games open.
modules=(virtio_pci 9p 9pnet_virtio overlay evdev joydev uinput vivid)
status_marker="zaredezid-vm-command-status"
probe_marker="zaredezid-vm-probe-booted"
kvm_accelerator=(-accel kvm -cpu host)
# Under a working KVM the probe boots in a second or two.
kvm_probe_seconds=${ZAREDEZID_VM_KVM_PROBE_SECONDS:-20}
start_marker="zaredezid-vm-command-start"

fail() {
    echo "run-in-vm: $*" >&2
    exit 1
}

# The kernel that linux-image-amd64 names today, fetched once and unpacked.
fetch_kernel() {
    local package
    package=$(apt-cache depends linux-image-amd64 | awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
    [ -n "$package" ] || fail "apt-cache knows no kernel package behind linux-image-amd64"
    kernel_root="$work_dir/$package"
    if [ ! -e "$kernel_root/.unpacked" ]; then
        rm -rf "$kernel_root" "$work_dir"/"$package"_*.deb
        # Package lists older than the mirror name a file it no longer has.
        (cd "$work_dir" && timeout 600 apt-get download -q "$package") ||
            (timeout 300 apt-get update -qq && cd "$work_dir" &&
                timeout 600 apt-get download -q "$package") ||
            fail "could not download $package"
        timeout 300 dpkg-deb -x "$work_dir"/"$package"_*.deb "$kernel_root"
        rm -f "$work_dir"/"$package"_*.deb
        touch "$kernel_root/.unpacked"
    fi
    kernel_version=${package#linux-image-}
    kernel_image="$kernel_root/boot/vmlinuz-$kernel_version"
    [ -e "$kernel_image" ] || fail "$package holds no $kernel_image"
    if [ ! -e "$kernel_root/lib/modules/$kernel_version/modules.dep" ]; then
        timeout 300 depmod -b "$kernel_root" "$kernel_version"
    fi
}

# Every module file the machine needs, dependencies first, each once.
module_files() {
    local module
    for module in "${modules[@]}"; do
        timeout 60 modprobe -d "$kernel_root" -S "$kernel_version" --show-depends "$module" ||
            fail "modprobe cannot resolve $module"
    done | awk '$1 == "insmod" && !seen[$2]++ { print $2 }'
}

# The command, quoted so that it runs with its arguments intact; bash reads
# it, as its quoting of some characters is bash's own.
write_command_script() {
    local script=$1
    shift
    {
        echo "cd $(printf '%q' "$PWD") || exit 125"
        printf 'exec'
        printf ' %q' "$@"
        echo
    } >"$script"
}

write_init() {
    cat >"$1" <<EOF
#!/bin/busybox sh
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
for module in /modules/*.ko; do
    case "\$module" in
    *vivid.ko) insmod "\$module" $vivid_options ;;
    *) insmod "\$module" ;;
    esac
done
mkdir -p /host /scratch /root
# The host's files are read-only and cannot change under the machine, so the
# page cache may keep them: without it every library is fetched anew.
mount -t 9p -o trans=virtio,version=9p2000.L,ro,cache=loose,msize=512000 hostroot /host
mount -t tmpfs -o size=1200m tmpfs /scratch
mkdir -p /scratch/upper /scratch/work
mount -t overlay overlay -o lowerdir=/host,upperdir=/scratch/upper,workdir=/scratch/work /root
mount -t proc proc /root/proc
mount -t sysfs sysfs /root/sys
mount -t devtmpfs devtmpfs /root/dev
mkdir -p /root/dev/pts /root/dev/shm
mount -t devpts devpts /root/dev/pts
mount -t tmpfs tmpfs /root/dev/shm
# /tmp stays the host's, under the overlay: the command may run from a
# checkout there. The machine's own folders live in /run.
mount -t tmpfs tmpfs /root/run
mkdir -p /root/run/vm/home /root/run/vm/config /root/run/vm/cache /root/run/vm/runtime
chmod 700 /root/run/vm/runtime
cp /command.sh /root/run/vm/command.sh
# Programs learn of cameras and input devices that come and go from udev, as
# on a desktop; systemd's tools refuse a chroot unless told it is meant.
export SYSTEMD_IGNORE_CHROOT=1
if chroot /root test -x /lib/systemd/systemd-udevd; then
    timeout 60 chroot /root /lib/systemd/systemd-udevd --daemon
    timeout 60 chroot /root udevadm trigger --action=add \\
        --subsystem-match=video4linux --subsystem-match=input
    timeout 60 chroot /root udevadm settle --timeout=50
fi
echo $start_marker
env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin HOME=/run/vm/home \\
    LANG=C.UTF-8 XDG_CONFIG_HOME=/run/vm/config XDG_CACHE_HOME=/run/vm/cache \\
    XDG_RUNTIME_DIR=/run/vm/runtime TERM=dumb SYSTEMD_IGNORE_CHROOT=1 \\
    ZAREDEZID_VM_KERNEL_ROOT=$(printf '%q' "$kernel_root") ZAREDEZID_VM_KERNEL_VERSION=$kernel_version \\
    chroot /root /bin/bash /run/vm/command.sh
echo "$status_marker=\$?"
poweroff -f
EOF
    chmod +x "$1"
}

# A busybox initramfs with the modules and the command in it.
build_initramfs() {
    local tree=$1 index=100 files file
    # Resolved first, so that a module modprobe cannot resolve stops the run.
    files=$(module_files)
    mkdir -p "$tree"/{bin,modules,proc,sys,dev}
    cp /bin/busybox "$tree/bin/busybox"
    for file in $files; do
        # A number before the name keeps the load order in the glob's order.
        cp "$file" "$tree/modules/$index-$(basename "$file")"
        index=$((index + 1))
    done
    write_init "$tree/init"
    (cd "$tree" && find . | cpio -o -H newc --quiet | gzip -1) >"$scratch/initramfs.gz"
}

# Passes on the lines between the start marker and the status as they come.
stream_command_output() {
    local line printing=false
    while IFS= read -r line; do
        if [[ $line == *"$start_marker"* ]]; then
            printing=true
            echo "run-in-vm: booted in $(($(date +%s) - started)) s"
        elif [[ $line == *"$status_marker="* ]]; then
            # The command's last line may lack its end of line.
            line=${line%%"$status_marker="*}
            $printing && [ -n "$line" ] && printf '%s\n' "$line"
            printing=false
        elif $printing; then
            printf '%s\n' "$line"
        fi
    done
}

# What timeout(1) returns for a command it ended: 124, or 137 when it had to
# kill it.
timed_out() {
    [ "$1" -eq 124 ] || [ "$1" -eq 137 ]
}

# Boots the kernel under KVM, with the CPU model of the real run, into an
# init that only says it started; true when it did within the probe's time.
# Otherwise probe_failure says what happened.
probe_kvm() {
    local tree="$scratch/probe" probe_console="$scratch/probe-console" qemu_status=0
    mkdir -p "$tree/bin"
    cp /bin/busybox "$tree/bin/busybox"
    printf '#!/bin/busybox sh\n/bin/busybox echo %s\n/bin/busybox poweroff -f\n' \
        "$probe_marker" >"$tree/init"
    chmod +x "$tree/init"
    (cd "$tree" && find . | cpio -o -H newc --quiet | gzip -1) >"$scratch/probe.gz"
    # The shell's own word on a QEMU that aborts would only repeat the status.
    {
        timeout --kill-after=5 "$kvm_probe_seconds" qemu-system-x86_64 "${kvm_accelerator[@]}" \
            "${machine[@]}" -initrd "$scratch/probe.gz" </dev/null >"$probe_console" 2>&1 ||
            qemu_status=$?
    } 2>/dev/null
    if grep -q "$probe_marker" "$probe_console"; then
        return 0
    elif timed_out "$qemu_status"; then
        probe_failure="it did not boot within $kvm_probe_seconds s"
    else
        probe_failure="QEMU ended with status $qemu_status: $(grep -v '^\s*$' "$probe_console" |
            tail -n 1 | tr -d '\r')"
    fi
    return 1
}

# A writable /dev/kvm may still not work: QEMU may abort at once, or the
# machine spin without booting until the time limit. KVM is used only when a
# short probe boot under it succeeds; emulation otherwise, which is slower
# but works on every machine.
choose_accelerator() {
    local probe_started
    accelerator=(-accel tcg,thread=multi)
    if [ ! -e /dev/kvm ]; then
        echo "run-in-vm: using emulation: this machine has no /dev/kvm"
    elif [ ! -w /dev/kvm ]; then
        echo "run-in-vm: using emulation: /dev/kvm is not writable"
    else
        probe_started=$(date +%s)
        if probe_kvm; then
            accelerator=("${kvm_accelerator[@]}")
            echo "run-in-vm: using KVM: a probe boot under it took $(($(date +%s) - probe_started)) s"
        else
            echo "run-in-vm: using emulation: a probe boot under KVM failed: $probe_failure"
        fi
    fi
}

fetch_kernel
machine=(-nographic -no-reboot -m 2048 -smp 2 -nic none -kernel "$kernel_image"
    -append "console=ttyS0 panic=-1 quiet loglevel=3")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
write_command_script "$scratch/command.sh.tmp" "$@"
mkdir -p "$scratch/tree"
mv "$scratch/command.sh.tmp" "$scratch/tree/command.sh"
build_initramfs "$scratch/tree"

choose_accelerator
console="$scratch/console"
started=$(date +%s)
# The whole console is kept for a failure's report.
set +e
timeout --kill-after=10 "$run_seconds" qemu-system-x86_64 "${accelerator[@]}" "${machine[@]}" \
    -initrd "$scratch/initramfs.gz" \
    -virtfs local,path=/,mount_tag=hostroot,security_model=none,readonly=on,multidevs=remap \
    </dev/null 2>&1 | sed -u 's/\r$//' | tee "$console" | stream_command_output
qemu_status=${PIPESTATUS[0]}
set -e
cp "$console" "$work_dir/last-console.log"

status=$(sed -n "s/.*$status_marker=\([0-9]*\)$/\1/p" "$console" | tail -n 1)
if [ -z "$status" ]; then
    if timed_out "$qemu_status"; then
        echo "run-in-vm: the machine reported no status within $run_seconds s; its console ended with:" >&2
    else
        echo "run-in-vm: the machine ended after $(($(date +%s) - started)) s without reporting a" \
            "status (QEMU's exit status $qemu_status); its console ended with:" >&2
    fi
    tail -n 40 "$console" >&2
    exit 1
fi
echo "run-in-vm: command ended with status $status after $(($(date +%s) - started)) s"
exit "$status"
