#!/usr/bin/env bash
# Runs a test with TARVELLITE_TEST_SMALL_DISK naming a file system of 1 MB: a tmpfs mounted in a
# mount namespace of the test's own (as root, or as anyone where the system allows user
# namespaces). Where no namespace can be had, the folder is an ordinary one and the test runs
# with a 1 MB limit on the size of the files it writes (ulimit -f), which makes writes fail as
# they do on a full disk.
#   with_small_disk.sh COMMAND [ARG...]
set -euo pipefail
disk=$(mktemp -d)
trap 'rm -rf "$disk"' EXIT

namespace=(unshare --mount --map-root-user --propagation private --)
mount_small='mount -t tmpfs -o size=1m tarvellite-small-disk "$1"'
if "${namespace[@]}" sh -c "$mount_small" sh "$disk" 2>/dev/null; then
    "${namespace[@]}" sh -c "$mount_small"' && disk=$1 && shift &&
        TARVELLITE_TEST_SMALL_DISK=$disk exec "$@"' sh "$disk" "$@"
else
    echo "with_small_disk: no tmpfs of our own; limiting the size of written files instead" >&2
    ulimit -f 1024
    trap '' XFSZ
    TARVELLITE_TEST_SMALL_DISK=$disk "$@"
fi
