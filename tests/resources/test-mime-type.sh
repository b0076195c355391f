#!/usr/bin/env bash
# The font files' type as a file manager sees it once the editor's package is installed: the
# shared-mime-info database built from our type beside the system's own gives *.pf our type and
# no other, and the desktop entry offers the editor for exactly the types the file defines.
# Usage: test-mime-type.sh TYPE-XML DESKTOP-ENTRY
set -euo pipefail
types_file="$1"
desktop_entry="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

mkdir -p "$work/mime/packages"
cp "$types_file" "$work/mime/packages/"
system=/usr/share/mime/packages/freedesktop.org.xml
[ -f "$system" ] && cp "$system" "$work/mime/packages/"
# update-mime-database reports a malformed or unknown element on standard error, not by its status
# (and a database outside XDG_DATA_DIRS, hence the variable).
XDG_DATA_DIRS="$work" update-mime-database -n "$work/mime" 2>"$work/warnings" ||
    fail "update-mime-database failed"
[ ! -s "$work/warnings" ] || fail "update-mime-database warns: $(cat "$work/warnings")"

defined="$(grep -o '<mime-type type="[^"]*"' "$types_file" | cut -d'"' -f2 | sort)"
[ -n "$defined" ] || fail "$types_file defines no type"
# globs2 lines are WEIGHT:TYPE:PATTERN; lower case because matching is case-insensitive there.
claimed="$(awk -F: 'tolower($3) == "*.pf" { print $2 }' "$work/mime/globs2" | sort -u)"
[ "$claimed" = "$defined" ] || fail "*.pf is claimed by: ${claimed:-nothing}, not by $defined"

offered="$(sed -n 's/^MimeType=//p' "$desktop_entry" | tr ';' '\n' | sed '/^$/d' | sort)"
[ "$offered" = "$defined" ] ||
    fail "the desktop entry offers '${offered}', the types are '${defined}'"
# The file manager hands the editor the file: one file, as a local path.
grep -Eq '^Exec=[^ ]+ %f$' "$desktop_entry" || fail "the desktop entry's Exec does not pass %f"
echo "*.pf is $defined, offered to $(sed -n 's/^Exec=//p' "$desktop_entry")"
