# Sourced by the set-up scripts: reading Debian's archive as it is, where an
# index can fail to download for a while (a mirror in the middle of a sync).

# Prints "setup: MESSAGE" on stderr and ends the script.
die() {
  echo "setup: $*" >&2
  exit 1
}

# Runs `APT_GET... update` until every index downloads, at most three times,
# a few seconds apart. Indexes that still fail are named as warnings: whether
# they matter shows when the packages are installed, which says what is
# missing. APT_GET is the apt-get command line, options included.
update_indexes() {
  local attempt log
  log=$(mktemp)
  for attempt in 1 2 3; do
    if "$@" -o Acquire::Retries=3 update >"$log" 2>&1 && ! grep -q '^[EW]: Failed to fetch' "$log"; then
      rm -f "$log"
      return 0
    fi
    ((attempt < 3)) && sleep $((attempt * 3))
  done
  grep -E '^(E: Failed to fetch|W: Failed to fetch)' "$log" | sed -E 's/^[EW]: Failed to fetch +/setup: warning: cannot read /' >&2 ||
    sed 's/^/setup: warning: /' "$log" >&2
  rm -f "$log"
}

# Prints the reason apt-get gave in LOG (its E: lines, or its last lines).
apt_reason() {
  grep -E '^E: ' "$1" | sed 's/^E: //' || tail -n 5 "$1"
}
