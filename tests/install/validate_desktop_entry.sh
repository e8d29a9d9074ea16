#!/bin/sh
# Usage: validate_desktop_entry.sh FILE. Passes when desktop-file-validate has
# nothing to say about FILE, hints included; exits 77 (skipped) without it.
command -v desktop-file-validate >/dev/null 2>&1 || { echo "desktop-file-validate not installed"; exit 77; }
report=$(desktop-file-validate "$1" 2>&1)
status=$?
[ -n "$report" ] && echo "$report"
[ $status -eq 0 ] && [ -z "$report" ]
