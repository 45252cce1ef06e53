#!/usr/bin/env bash
# The Windows DLL must export exactly the two entry points and import exactly
# the system DLLs it uses: a MinGW runtime or zlib1.dll import would make
# LoadLibrary fail on a machine without them, and any other import is a
# dependency nobody asked for. The C runtime and the kernel; the editor window
# and its painting (user32, gdi32); the web link (shell32 opens the page,
# wininet checks the connection); the registry look-up that tells Wine apart
# (advapi32).
#   check_dll.sh OBJDUMP DLL
set -euo pipefail
objdump="$1"
dll="$2"

# Captured first: with pipefail, a reader that stops early (grep -q) would make
# the pipeline fail.
headers="$("$objdump" -p "$dll")"

# The export table lists "[   n] Name" lines after "[Ordinal/Name Pointer] Table".
exports=$(printf '%s\n' "$headers" |
  awk '/\[Ordinal\/Name Pointer\] Table/ {inside = 1; next}
       inside && /^[[:space:]]*\[[[:space:]]*[0-9]+\]/ {print $NF; next}
       inside && NF == 0 {inside = 0}' | sort)
expected=$(printf 'VSTPluginMain\nmain\n' | sort)

imports=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
expected_imports=$(printf '%s\n' advapi32.dll gdi32.dll kernel32.dll msvcrt.dll shell32.dll user32.dll \
  wininet.dll | sort)

status=0
if [ "$exports" != "$expected" ]; then
  echo "unexpected exports of $dll:"
  printf '  %s\n' $exports
  status=1
fi
if [ -z "$imports" ]; then
  echo "no import table found in $dll"
  status=1
fi
if [ -n "$imports" ] && [ "$imports" != "$expected_imports" ]; then
  echo "$dll imports: $(echo $imports)"
  echo "expected:    $(echo $expected_imports)"
  status=1
fi
[ $status -eq 0 ] || exit 1
echo "exports: $(echo $exports)"
echo "imports: $(echo $imports)"
