# Bind mounts of a Debian 13 root for Wine 10 (sourced by the scripts
# beside it): the host's devices, ptys, processes, sysfs and /tmp (where
# the X sockets and the tests' files are), and the work tree at its own
# path, so that a path means the same inside and out. Private, so that
# nothing mounted here spreads back to the host, and always undone.
#   qv_root_mount ROOT TREE   qv_root_unmount ROOT TREE
qv_root_points() {
  echo /dev /dev/pts /proc /sys /tmp "$1"
}
qv_root_mount() {
  for point in $(qv_root_points "$2"); do
    mountpoint -q "$1$point" && continue
    mkdir -p "$1$point"
    mount --bind "$point" "$1$point" && mount --make-private "$1$point" || return 1
  done
}
qv_root_unmount() {
  # The reverse order: /dev/pts before /dev.
  for point in $(qv_root_points "$2" | tr ' ' '\n' | tac); do
    mountpoint -q "$1$point" && { umount "$1$point" || umount -l "$1$point"; }
  done
  return 0
}
