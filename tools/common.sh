# Shared settings of the build, test and run scripts.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
jobs=${KESTRAVA_JOBS:-2}
export WINEPREFIX="${WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine64_loader=/usr/lib/wine/wine64
wine32_loader=/usr/lib/wine/wine

# 32-bit Windows programs run only where the kernel executes 32-bit Linux programs (Wine's loader).
can_run_win32() {
  "$wine32_loader" --version >/dev/null 2>&1
}

# Creates the Wine prefix once.
ensure_wine_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$wine64_loader" wineboot --init >/dev/null 2>&1 || true
    "$wine64_loader" wineserver -w 2>/dev/null || wineserver -w 2>/dev/null || true
  fi
}
