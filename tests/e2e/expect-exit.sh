#!/bin/bash
# Runs a command and checks its exit status and that its output holds a text:
#   expect-exit.sh EXPECTED_EXIT EXPECTED_TEXT COMMAND...
set -u
expected_exit="$1" expected_text="$2"
shift 2
output=$(timeout 60 "$@" 2>&1)
status=$?
echo "$output"
[ "$status" = "$expected_exit" ] || { echo "FAIL: exit status $status, expected $expected_exit"; exit 1; }
grep -qF -- "$expected_text" <<< "$output" || { echo "FAIL: no '$expected_text' in the output"; exit 1; }
echo PASS
