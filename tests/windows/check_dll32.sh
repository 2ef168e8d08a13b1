#!/bin/bash
# Checks the shipping 32-bit DLL without running it: its module name, that
# it exports exactly the entry points given (as NAME:ARGUMENT_BYTES) and
# nothing else, undecorated, that it imports only from system DLLs, that
# each entry point removes its own arguments from the stack, and that only
# the SSE2 and SSSE3 block searches use SSE registers.
set -u
dll="$1"
objdump="$2"
shift 2

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

headers=$("$objdump" -p "$dll") || { echo "FAIL: cannot read $dll"; exit 1; }

module=$(awk '/^Name[ \t]/ { print $NF; exit }' <<<"$headers")
[[ "$module" == "KOR_LINTREL.TBP" ]] || fail "module name is '$module', not KOR_LINTREL.TBP"

exported=$(awk '/\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
                table && /^\t\[/ { print $NF; next }
                table { table = 0 }' <<<"$headers" | sort)
expected=$(for entry in "$@"; do echo "${entry%%:*}"; done | sort)
[[ "$exported" == "$expected" ]] ||
  fail "exports differ:"$'\n'"$(diff <(echo "$expected") <(echo "$exported"))"

while read -r imported; do
  case "${imported,,}" in
    kernel32.dll | user32.dll | msvcrt.dll) ;;
    *) fail "imports from $imported, which is not a system DLL" ;;
  esac
done < <(awk '/DLL Name:/ { print $3 }' <<<"$headers")

# A stripped DLL has no symbols to find the entry points by: they come from
# its unstripped twin, named by DLL_SYMBOLS, once its code is the same bytes.
code="$dll"
if [[ -n "${DLL_SYMBOLS:-}" ]]; then
  cmp -s <("$objdump" -s -j .text "$dll" | tail -n +4) \
         <("$objdump" -s -j .text "$DLL_SYMBOLS" | tail -n +4) ||
    fail "the code of $DLL_SYMBOLS is not the code of $dll"
  code="$DLL_SYMBOLS"
fi
disassembly=$("$objdump" -d --no-show-raw-insn "$code")
for entry in "$@"; do
  name="${entry%%:*}"
  bytes="${entry##*:}"
  returns=$(awk -v label="<_${name}@${bytes}>:" '
      index($0, label) { inside = 1; next }
      inside && /^$/ { exit }
      inside && /\tret/ { sub(/^.*\tret[a-z]* */, ""); print ($0 == "" ? "plain" : $0) }' \
    <<<"$disassembly" | sort -u)
  if (( bytes == 0 )); then want="plain"; else want=$(printf '$0x%x' "$bytes"); fi
  [[ -n "$returns" ]] || fail "$name: no code found under _${name}@${bytes}"
  [[ -z "$returns" || "$returns" == "$want" ]] ||
    fail "$name returns with '$(echo $returns)', expected ret $want"
done

# The DLL runs on processors without SSE2: code on XMM registers belongs to
# the block searches compiled for SSE2 or SSSE3 alone (their namespaces are
# named so), which run only where the processor has them. Everything else,
# the date arithmetic on the x87 unit with it, keeps to the i686 basics.
vector_functions=$("$objdump" -d -C --no-show-raw-insn "$code" |
  awk '/^[0-9a-f]+ <.*>:$/ { function_label = $0; next }
       /%xmm/ && !seen[function_label]++ { print function_label }')
[[ -n "$vector_functions" ]] || fail "no code on XMM registers: the SSE2 block searches are missing"
stray=$(grep -v -E '::(sse2|ssse3)::' <<<"$vector_functions")
[[ -z "$stray" ]] || fail "code on XMM registers outside the SSE2 and SSSE3 searches:"$'\n'"$stray"

if (( failures > 0 )); then exit 1; fi
echo "KOR_LINTREL.TBP: module name, $# exports, imports, stack cleanup and SSE code are as shipped"
