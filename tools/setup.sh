#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the main job need.
set -euo pipefail

packages=(
  cmake make g++ clang libclang-rt-14-dev googletest libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine32:i386 wine64 xvfb xauth x11-apps imagemagick fonts-nanum fonts-baekmuk python3 locales
)

# Wine makes Unix file names in the locale's character set: without the Korean locale,
# Korean file names (the network backups) cannot be created under LC_ALL=ko_KR.UTF-8.
ensure_korean_locale() {
  locale -a 2>/dev/null | grep -ix 'ko_KR.utf8' >/dev/null && return 0
  local as_root=""
  [ "$(id -u)" -ne 0 ] && as_root="sudo"
  $as_root localedef -i ko_KR -f UTF-8 ko_KR.UTF-8
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && { ensure_korean_locale; exit; }

sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_cmd dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo_cmd apt-get update -qq
$sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
ensure_korean_locale
