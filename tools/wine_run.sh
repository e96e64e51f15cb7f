#!/usr/bin/env bash
# Runs a Windows program under Wine with its output sent to a file, then prints the file.
# Wine's background processes inherit the output handles; a pipe handed to them (ctest's)
# would stay open after the program ends.
set -u
log=$(mktemp)
wine "$@" >"$log" 2>&1 </dev/null
status=$?
cat "$log"
rm -f "$log"
exit $status
