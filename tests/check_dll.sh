#!/usr/bin/env bash
# The Windows DLL must export exactly the two entry points and import only
# system DLLs: a MinGW runtime or zlib1.dll import would make LoadLibrary fail
# on a machine without them.
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
allowed="kernel32.dll user32.dll gdi32.dll advapi32.dll shell32.dll wininet.dll msvcrt.dll
comctl32.dll comdlg32.dll ole32.dll oleaut32.dll shlwapi.dll uxtheme.dll msimg32.dll ws2_32.dll"

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
for dllname in $imports; do
  case " $(echo $allowed) " in
    *" $dllname "*) ;;
    *) echo "$dll imports $dllname, which is not a system DLL"; status=1 ;;
  esac
done
[ $status -eq 0 ] || exit 1
echo "exports: $(echo $exports)"
echo "imports: $(echo $imports)"
