#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the main job need, and makes
# 32-bit Windows programs runnable: natively where the kernel executes 32-bit code,
# otherwise through qemu's user-mode emulation registered with binfmt_misc.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb xauth x11-apps imagemagick fonts-nanum fonts-baekmuk python3 locales
)
# qemu 7 takes about 50 s to start each 32-bit Wine process; the backported one is usable.
qemu_minimum_major=8
i386_probe=/usr/lib/wine/wine
binfmt=/proc/sys/fs/binfmt_misc

as_root=""
[ "$(id -u)" -ne 0 ] && as_root="sudo"
export DEBIAN_FRONTEND=noninteractive

# Wine makes Unix file names in the locale's character set: without the Korean locale,
# Korean file names (the network backups) cannot be created under LC_ALL=ko_KR.UTF-8.
ensure_korean_locale() {
  locale -a 2>/dev/null | grep -ix 'ko_KR.utf8' >/dev/null && return 0
  $as_root localedef -i ko_KR -f UTF-8 ko_KR.UTF-8
}

# A mirror caught mid-sync fails one index while the others load; the install that
# follows then decides whether what it needs was found.
update_package_lists() {
  $as_root apt-get update -qq || echo "setup: some package lists did not update; going on with those that did" >&2
}

is_installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

install_packages() {
  local missing=() p
  for p in "${packages[@]}"; do is_installed "$p" || missing+=("$p"); done
  [ ${#missing[@]} -eq 0 ] && return 0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $as_root dpkg --add-architecture i386
  fi
  update_package_lists
  $as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The archive this machine already uses: the URI of its main suite, from either source format.
debian_archive_uri() {
  local codename=$1
  {
    awk -v suite="$codename" '
      /^URIs:/ { uri = $2 } /^Suites:/ { for (i = 2; i <= NF; i++) if ($i == suite) print uri }
      /^$/ { uri = "" }' /etc/apt/sources.list.d/*.sources 2>/dev/null || true
    awk -v suite="$codename" '$1 == "deb" && $3 == suite { print $2 }' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true
  } | head -1
}

qemu_major() { { qemu-i386 --version 2>/dev/null || true; } | sed -n 's/^qemu-i386 version \([0-9]*\).*/\1/p'; }

install_backported_qemu() {
  local major
  major=$(qemu_major)
  [ -n "$major" ] && [ "$major" -ge "$qemu_minimum_major" ] && return 0
  local codename uri list=/etc/apt/sources.list.d/kestrava-backports.sources
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  if ! grep -rqs -- "$codename-backports" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    uri=$(debian_archive_uri "$codename")
    [ -n "$uri" ] || { echo "setup: no Debian archive for $codename in the apt sources" >&2; return 1; }
    printf 'Types: deb\nURIs: %s\nSuites: %s-backports\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
      "$uri" "$codename" | $as_root tee "$list" >/dev/null
  fi
  update_package_lists
  $as_root apt-get install -y -qq --no-install-recommends -t "$codename-backports" qemu-user
  major=$(qemu_major)
  if [ -z "$major" ] || [ "$major" -lt "$qemu_minimum_major" ]; then
    echo "setup: qemu-user ${major:-missing} is older than $qemu_minimum_major" >&2
    return 1
  fi
}

# Whether the kernel itself runs 32-bit x86 programs (asked with the emulation switched off).
kernel_runs_i386() {
  local entry=$binfmt/qemu-i386 enabled=0 result=0
  [ -f "$entry" ] && head -1 "$entry" | grep -qx enabled && enabled=1
  [ "$enabled" = 1 ] && echo 0 | $as_root tee "$entry" >/dev/null
  "$i386_probe" --version >/dev/null 2>&1 || result=1
  [ "$enabled" = 1 ] && echo 1 | $as_root tee "$entry" >/dev/null
  return $result
}

# The registration is lost at every reboot and no service manager restores it, so it is
# made again here, idempotently, from the configuration file the package ships.
register_i386_emulation() {
  mountpoint -q "$binfmt" || $as_root mount -t binfmt_misc binfmt_misc "$binfmt"
  local conf entry=$binfmt/qemu-i386
  conf=$(grep -hv '^#' $(dpkg -L qemu-user | grep '/binfmt\.d/qemu-i386\.conf$') | head -1)
  local interpreter
  interpreter=$(cut -d: -f7 <<<"$conf")
  if [ -f "$entry" ] && ! grep -qx "interpreter $interpreter" "$entry"; then
    echo -1 | $as_root tee "$entry" >/dev/null
  fi
  [ -f "$entry" ] || echo "$conf" | $as_root tee "$binfmt/register" >/dev/null
  echo 1 | $as_root tee "$entry" >/dev/null
  "$i386_probe" --version >/dev/null 2>&1 || { echo "setup: 32-bit programs still cannot run" >&2; return 1; }
}

install_packages
ensure_korean_locale
install_backported_qemu
# KESTRAVA_EMULATE_I386=1 asks for the emulation where the kernel would not need it.
if [ "${KESTRAVA_EMULATE_I386:-0}" = 1 ] || ! kernel_runs_i386; then
  register_i386_emulation
elif [ -f "$binfmt/qemu-i386" ]; then
  echo 0 | $as_root tee "$binfmt/qemu-i386" >/dev/null
fi
