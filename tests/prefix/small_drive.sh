#!/bin/sh
# small_drive.sh mount|unmount PREFIX DIR
# Drive S: of the test prefix on a one-megabyte tmpfs mounted at DIR, so that
# the low-free-space question of the wizard can be seen. Mounting needs the
# right to mount; without it the drive is missing and the test using it skips.
set -u
action=$1 prefix=$2 dir=$3
case $action in
mount)
  mkdir -p "$dir"
  if ! mountpoint -q "$dir" && ! mount -t tmpfs -o size=1m tmpfs "$dir" 2>/dev/null; then
    echo "no small drive: tmpfs cannot be mounted here"
    exit 0
  fi
  ln -sfn "$dir" "$prefix/dosdevices/s:"
  ;;
unmount)
  rm -f "$prefix/dosdevices/s:"
  if mountpoint -q "$dir"; then umount "$dir"; fi
  ;;
esac
exit 0
