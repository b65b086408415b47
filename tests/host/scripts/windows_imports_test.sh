#!/usr/bin/env bash
# The Windows program imports only DLLs that Windows itself ships, plus one
# D3DX 9 runtime (d3dx9_NN.dll): libgcc, libstdc++ and winpthreads are
# linked in, nothing else has to be installed beside it.
# Usage: windows_imports_test.sh OBJDUMP PROGRAM.exe
set -u
objdump=$1
program=$2
imports=$("$objdump" -p "$program" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort)
if [ -z "$imports" ]; then echo "no import table in $program"; exit 1; fi
system="kernel32.dll user32.dll gdi32.dll winmm.dll d3d9.dll msvcrt.dll advapi32.dll shell32.dll ole32.dll"
d3dx=0
status=0
for dll in $imports; do
  if [[ " $system " == *" $dll "* ]]; then continue; fi
  if [[ "$dll" =~ ^d3dx9_[0-9]+\.dll$ ]]; then d3dx=$((d3dx + 1)); continue; fi
  echo "imports $dll, which Windows does not ship"
  status=1
done
if [ $d3dx -ne 1 ]; then echo "imports $d3dx D3DX 9 runtimes, expected one"; status=1; fi
echo "imports:" $imports
exit $status
