#!/usr/bin/env bash
# Checks that Windows programs import only DLLs that every Windows has:
#   check-imports.sh PROGRAM.exe...
# Prints each program's imports; exits 1 when one imports a DLL that is not on the list
# (a MinGW runtime DLL such as libstdc++-6.dll or libwinpthread-1.dll, for example).
set -uo pipefail

allowed=(KERNEL32 USER32 GDI32 SHELL32 MSVCRT ADVAPI32 COMCTL32)

objdump="${OBJDUMP:-x86_64-w64-mingw32-objdump}"
status=0
for exe in "$@"; do
  if ! dlls="$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p')"; then
    echo "imports: cannot read $exe" >&2
    status=1
    continue
  fi
  if [ -z "$dlls" ]; then
    echo "imports: $(basename "$exe") has no import table" >&2
    status=1
    continue
  fi
  bad=()
  while IFS= read -r dll; do
    name="${dll%.[dD][lL][lL]}"
    name="${name^^}"
    ok=0
    for allowed_name in "${allowed[@]}"; do
      [ "$name" = "$allowed_name" ] && ok=1
    done
    [ "$ok" -eq 1 ] || bad+=("$dll")
  done <<<"$dlls"
  if [ ${#bad[@]} -ne 0 ]; then
    echo "imports: $(basename "$exe") needs DLLs that Windows does not ship: ${bad[*]}" >&2
    status=1
  else
    echo "imports: $(basename "$exe"): $(tr '\n' ' ' <<<"$dlls")"
  fi
done
exit $status
