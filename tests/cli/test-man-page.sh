#!/usr/bin/env bash
# The manual page describes every command the program's --help lists, and groff and man format
# it without a warning. Usage: test-man-page.sh PATH-TO-glyphwright-cli PATH-TO-glyphwright-cli.1
set -euo pipefail
cli="$1"
page="$2"
commands=$("$cli" --help | awk '/^Commands:/ {on = 1; next} on && NF == 0 {exit} on {print $1}')
[ -n "$commands" ] || { echo "FAIL: --help lists no commands"; exit 1; }
for command in $commands; do
    grep -q "^\.B glyphwright-cli $command\$" "$page" || { echo "FAIL: SYNOPSIS lacks $command"; exit 1; }
    grep -q "^\.BI \"$command " "$page" || { echo "FAIL: COMMANDS lacks $command"; exit 1; }
done
"$(dirname "$0")/../check-man-page.sh" "$page"
echo "man page: $(echo $commands) documented"
