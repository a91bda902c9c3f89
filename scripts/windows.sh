#!/usr/bin/env bash
# The Windows part: cross-builds ZQBO_DOCPLUGIN_STATI.dll and the COM tests for x64 and
# x86, checks each library's exports, and runs the COM tests under Wine: x64 always, x86
# when Wine's 32-bit part is installed (it is tried, and said plainly when it is not).
#   windows.sh          build both, run under Wine
#   windows.sh build    build both and check the exports only
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
bash scripts/setup.sh windows
bash scripts/sqlite-amalgamation.sh build/sqlite-amalgamation

for preset in win64 win32; do
  echo "== build ($preset)"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done

check_exports() {  # library, expected format
  local dump
  dump=$(objdump -p "$1")
  grep -q "file format $2" <<<"$dump" || { echo "$1: not $2"; return 1; }
  for e in DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer; do
    grep -qw "$e" <<<"$dump" || { echo "$1: export $e missing"; return 1; }
  done
  if grep -qiE 'DLL Name: (libstdc\+\+|libgcc|libwinpthread)' <<<"$dump"; then
    echo "$1: depends on a mingw run-time DLL"; return 1
  fi
  echo "$1: $2, the four entry points exported, no mingw run-time DLL"
}
check_exports build/win64/ZQBO_DOCPLUGIN_STATI.dll pei-x86-64
check_exports build/win32/ZQBO_DOCPLUGIN_STATI.dll pei-i386

[[ "${1:-}" == build ]] && exit 0

# Wine, headless, in a private prefix per bitness inside the build tree.
unset DISPLAY
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
run_under_wine() {  # preset, WINEARCH
  local preset=$1
  export WINEPREFIX="$root/build/$preset/wineprefix" WINEARCH=$2
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    wine wineboot --init >/dev/null 2>&1 || true
    wineserver -w
  fi
  local rc=0
  # A hung run must not hold CI up: the whole program has ten minutes.
  (cd "build/$preset" && timeout 600 wine test_com.exe) || rc=$?
  wineserver -k 2>/dev/null || true
  return $rc
}

# Wine's 32-bit part: installed when it can be (best effort: it needs the i386 archive,
# whose indexes must match the machine's own). When it cannot, the i386 architecture is
# taken away again, so that later apt runs are not held up by its indexes.
wine32_ready() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed' && return 0
  local added=no
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386 && added=yes
  fi
  if { apt-get update -qq &&
       DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine32:i386
     } >/dev/null 2>&1; then
    return 0
  fi
  if [[ $added == yes ]]; then
    dpkg --remove-architecture i386 && apt-get update -qq >/dev/null 2>&1 || true
  fi
  return 1
}

status=0
echo "== COM tests under Wine (x64)"
run_under_wine win64 win64 || status=1
if wine32_ready; then
  echo "== COM tests under Wine (x86)"
  run_under_wine win32 win32 || status=1
  echo "COM tests ran for: x64, x86"
else
  echo "COM tests ran for: x64 only (Wine's 32-bit part could not be installed; x86 built and its exports checked)"
fi
exit $status
