#!/bin/bash
# Checks that the manual page of lintrel is true to the command: it renders
# without a warning, names the command's version, and has every command and
# option that `lintrel --help` shows.
#   check_manual.sh LINTREL PAGE
set -u
lintrel="$1"
page="$2"

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

help=$("$lintrel" --help) || { echo "FAIL: $lintrel --help failed"; exit 1; }
version=$("$lintrel" --version | head -n 1) || { echo "FAIL: $lintrel --version failed"; exit 1; }

rendered_file=$(mktemp)
trap 'rm -f "$rendered_file"' EXIT
warnings=$(MANWIDTH=80 man --warnings -E ascii -l "$page" 2>&1 >"$rendered_file")
[[ -z "$warnings" ]] || fail "rendering $page warns:"$'\n'"$warnings"
rendered=$(col -b <"$rendered_file")
[[ -n "$rendered" ]] || { echo "FAIL: $page renders empty"; exit 1; }

grep -qF "Lintrel $version" <<<"$rendered" || fail "the page does not name version $version"

options=$(grep -oE -- '--[a-z][a-z-]*' <<<"$help" | sort -u)
commands=$(grep -oE 'lintrel [a-z]+' <<<"$help" | cut -d' ' -f2 | sort -u)
[[ -n "$options" && -n "$commands" ]] || fail "no options or commands found in --help"
for word in $options $commands; do
  grep -qwF -- "$word" <<<"$rendered" || fail "$word is in --help but not in the page"
done

if ((failures > 0)); then exit 1; fi
echo "lintrel(1): version $version, $(wc -w <<<"$options") options and $(wc -w <<<"$commands") commands of --help"
