#!/usr/bin/env bash
# Builds both libraries and puts what a host machine needs into one folder:
#   dist/ZQBO_DOCPLUGIN_STATI/x86/ZQBO_DOCPLUGIN_STATI.dll   for a 32-bit host
#   dist/ZQBO_DOCPLUGIN_STATI/x64/ZQBO_DOCPLUGIN_STATI.dll   for a 64-bit host
#   dist/ZQBO_DOCPLUGIN_STATI/ZQBO_DOCPLUGIN_STATI.tlb       the type library (also inside each DLL)
#   dist/ZQBO_DOCPLUGIN_STATI/README.txt                     registration and what the host must offer
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/windows.sh build
out=dist/ZQBO_DOCPLUGIN_STATI
rm -rf "$out"
mkdir -p "$out/x86" "$out/x64"
cp build/win32/ZQBO_DOCPLUGIN_STATI.dll "$out/x86/"
cp build/win64/ZQBO_DOCPLUGIN_STATI.dll "$out/x64/"
cp build/win32/generated/zqbo_docplugin_stati.tlb "$out/ZQBO_DOCPLUGIN_STATI.tlb"
cp docs/com-package-readme.txt "$out/README.txt"
echo "packaged into $out:"
find "$out" -type f | sort
