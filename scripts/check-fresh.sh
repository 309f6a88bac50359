#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 KAVRO developers
# SPDX-License-Identifier: MIT
# Runs a README command on a freshly made Debian system: a minimal root from debootstrap with
# make added and nothing else, this repository's committed state cloned into it, the command
# run there as root.
#   scripts/check-fresh.sh bookworm|trixie [command]      (command: bash .ci/run by default)
# Needs root, debootstrap and git on the host. PACKAGES="a b" adds Debian packages before the
# command, as a desktop would have them (Mesa's drivers, an input method); DESKTOP=kde or
# DESKTOP=gnome installs that Debian desktop task with its recommends first (a sound server,
# speech synthesis, thousands of fonts), as a user's machine has it; KEEP_ROOT=1 leaves the
# root in place (its path is printed); the exit status is the command's.
set -euo pipefail

release=${1:-}
case $release in
bookworm | trixie) ;;
*)
    echo "usage: $0 bookworm|trixie [command]" >&2
    exit 2
    ;;
esac
shift
command=${*:-bash .ci/run}
repository=$(git -C "$(dirname "$0")" rev-parse --show-toplevel)
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}

# On disk, not in a RAM-backed /tmp: the build and the packages take a few GiB.
root=$(mktemp -d "/var/tmp/kavro-$release.XXXXXX")
# mktemp makes the folder 0700, and it becomes the root's /: tests that run a program as
# another user could then reach nothing at all.
chmod 0755 "$root"
mounted=()
cleanup() {
    local status=$?
    for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do umount -l "${mounted[i]}" 2> /dev/null || true; done
    if [[ ${KEEP_ROOT:-0} == 1 ]]; then
        echo "root kept: $root"
    else
        rm -rf --one-file-system "$root"
    fi
    exit $status
}
trap cleanup EXIT

echo "== debootstrap $release into $root"
debootstrap --variant=minbase --include=make "$release" "$root" "$mirror" > "$root.debootstrap.log" 2>&1 ||
    { tail -n 20 "$root.debootstrap.log" >&2; exit 1; }
rm -f "$root.debootstrap.log"
cp /etc/resolv.conf "$root/etc/resolv.conf"

mount_into() { # type-or-bind source target
    mkdir -p "$root$3"
    if [[ $1 == bind ]]; then mount --bind "$2" "$root$3"; else mount -t "$1" "$2" "$root$3"; fi
    mounted+=("$root$3")
}
# The root is made a mount point, as a real system's / is: the end-to-end tests' namespaces
# (unshare) make / private, which fails where it is a plain folder, and they are then skipped.
mount --bind "$root" "$root"
mounted+=("$root")
mount_into proc proc /proc
mount_into sysfs sys /sys
mount_into bind /dev /dev
mount_into devpts devpts /dev/pts
mount_into tmpfs tmpfs /dev/shm
mount_into tmpfs tmpfs /run

git clone --quiet "$repository" "$root/root/kavro"

in_root() {
    chroot "$root" /usr/bin/env -i HOME=/root TERM=dumb CI=true LANG=C.UTF-8 \
        PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin "$@"
}
# Packages' scripts must not start services on the host's kernel from inside the root.
printf '#!/bin/sh\nexit 101\n' > "$root/usr/sbin/policy-rc.d"
chmod 0755 "$root/usr/sbin/policy-rc.d"
if [[ -n ${DESKTOP:-} ]]; then
    echo "== $release: adding task-$DESKTOP-desktop with its recommends"
    in_root bash -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq task-$DESKTOP-desktop > /dev/null"
fi
if [[ -n ${PACKAGES:-} ]]; then
    echo "== $release: adding $PACKAGES"
    in_root bash -c "apt-get update -qq && DEBIAN_FRONTEND=noninteractive \
        apt-get install -y -qq --no-install-recommends $PACKAGES > /dev/null"
fi

echo "== $release: $command"
in_root bash -c "cd /root/kavro && $command"
