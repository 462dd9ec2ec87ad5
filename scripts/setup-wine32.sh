#!/usr/bin/env bash
# Makes 32-bit Wine run here, or fails saying why. The product is a 32-bit exe and its tests run
# that very file, so a 64-bit stand-in will not do.
#
# Where the kernel has its ia32 emulation switched off, no i386 program starts (32-bit Wine's
# loader among them: "Exec format error"). qemu's user-mode emulator, registered for i386 ELF files
# through binfmt_misc, runs them instead. It has to be qemu 10 from the backports suite: bookworm's
# own 7.2 takes MAP_FIXED_NOREPLACE as a hint, and Wine then fails to map its shared user data.
# The emulator is fetched without touching the system's apt sources. Safe to run again.
set -eu
qemu=/usr/local/lib/fix_molivern/qemu-i386
binfmt=/proc/sys/fs/binfmt_misc

wine32_runs() { /usr/lib/wine/wine --version >/dev/null 2>&1; }
die() {
  echo "32-bit Wine cannot run on this machine: $*" >&2
  exit 1
}

wine32_runs && exit 0
[ -x /usr/lib/wine/wine ] || die "/usr/lib/wine/wine (package wine32:i386) is not installed"

fetch_qemu() {
  . /etc/os-release
  local suite=${VERSION_CODENAME:?}-backports
  # The machine's own Debian mirror: the site its apt configuration uses for the release itself.
  local mirror
  mirror_of_release() {
    apt-get indextargets --format '$(SITE) $(RELEASE) $(COMPONENT)' |
      awk -v release="$VERSION_CODENAME" '$2 == release && $3 == "main" { print $1; exit }'
  }
  mirror=$(mirror_of_release)
  if [ -z "$mirror" ]; then # apt lists only what it has fetched: fetch the lists once
    apt-get update -q >/dev/null
    mirror=$(mirror_of_release)
  fi
  [ -n "$mirror" ] || die "no Debian mirror for $VERSION_CODENAME in the apt configuration"
  local work
  work=$(mktemp -d)
  # shellcheck disable=SC2064 # expanded now, on purpose
  trap "rm -rf '$work'" RETURN
  mkdir -p "$work/lists/partial" "$work/cache/archives/partial"
  echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $suite main" \
    >"$work/sources.list"
  local apt=(apt-get -q -o Dir::Etc::SourceList="$work/sources.list"
    -o Dir::Etc::SourceParts=/dev/null -o Dir::State::Lists="$work/lists"
    -o Dir::Cache="$work/cache")
  echo "fetching qemu-user from $suite"
  "${apt[@]}" update >"$work/update.log" 2>&1 || {
    cat "$work/update.log" >&2
    die "apt-get update of $suite failed"
  }
  (cd "$work" && "${apt[@]}" download "qemu-user/$suite" >"$work/download.log" 2>&1) || {
    cat "$work/download.log" >&2
    die "qemu-user could not be downloaded from $suite"
  }
  dpkg-deb --fsys-tarfile "$work"/qemu-user_*.deb | tar -x -C "$work" ./usr/bin/qemu-i386
  mkdir -p "$(dirname "$qemu")"
  install -m 755 "$work/usr/bin/qemu-i386" "$qemu"
}

[ -x "$qemu" ] || fetch_qemu

if [ ! -e "$binfmt/register" ]; then
  mount -t binfmt_misc binfmt_misc "$binfmt" || die "binfmt_misc cannot be mounted"
fi
# An entry left from before may name an older emulator, or one that no longer exists.
[ -e "$binfmt/qemu-i386" ] && echo -1 >"$binfmt/qemu-i386"
# i386 ELF executables and shared objects; F: the kernel opens the emulator now and keeps it.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
printf '%s' ":qemu-i386:M::$magic:$mask:$qemu:F" >"$binfmt/register" ||
  die "the i386 emulator could not be registered with binfmt_misc"

wine32_runs || die "$qemu is registered for i386 programs, but /usr/lib/wine/wine still fails"
echo "32-bit Wine runs here through $qemu ($("$qemu" --version | head -1))"
