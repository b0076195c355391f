#!/usr/bin/env bash
# A manual page as the build made it: every @VARIABLE@ filled in, and formatted without a single
# warning by groff and by man. Usage: check-man-page.sh PAGE.1
set -euo pipefail
page="$1"
if grep -n '@[A-Z_]*@' "$page"; then
    echo "FAIL: $page: the build left a variable unfilled"
    exit 1
fi
export LC_ALL=C.UTF-8
if command -v groff >/dev/null; then
    warnings=$(groff -man -ww -z "$page" 2>&1)
    [ -z "$warnings" ] || { echo "FAIL: groff: $warnings"; exit 1; }
fi
if command -v man >/dev/null; then
    warnings=$(man --warnings -l "$page" 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "FAIL: man: $warnings"; exit 1; }
fi
