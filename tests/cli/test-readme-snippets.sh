#!/usr/bin/env bash
# Runs the README's firmware-build snippets as written: its Makefile rule, its CMake
# add_custom_command, its CI check step and its git diff settings, on a throw-away project with
# the built glyphwright-cli first on PATH.
# Usage: test-readme-snippets.sh PATH-TO-glyphwright-cli README.md. Exits 77 (skipped) when
# make, git or gpasm is missing.
set -euo pipefail
cli="$(realpath "$1")"
readme="$(realpath "$2")"
for tool in make git gpasm cmake; do
    command -v "$tool" >/dev/null || { echo "SKIP: needs $tool"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
mkdir "$work/bin"
ln -s "$cli" "$work/bin/glyphwright-cli"
export PATH="$work/bin:$PATH" LC_ALL=C

# The fenced blocks of the README with this info string.
block() { awk -v fence="\`\`\`$1" '$0 == fence {on = 1; next} on && $0 == "```" {on = 0; next} on {print}' "$readme"; }
line_starting() { block sh | grep -m1 "^$1"; }
# Writes one byte into a file at an offset, leaving the rest.
poke() { printf "\\x$3" | dd of="$1" bs=1 seek="$2" conv=notrunc status=none; }
font() { awk 'BEGIN { for (i = 0; i < 2048; i++) printf "%c", (i * 37 + 11) % 256 }' >"$1"; }

makefile="$(block make)"
cmake_snippet="$(block cmake)"
ci_step="$(line_starting "glyphwright-cli check")"
attributes="$(block gitattributes)"
git_config="$(line_starting "git config")"
for snippet in makefile cmake_snippet ci_step attributes git_config; do
    [ -n "${!snippet}" ] || fail "README has no $snippet snippet"
done

# Makefile: builds font.asm, keeps it while font.pf is unchanged, rebuilds it after a change.
mkdir "$work/make" && cd "$work/make"
printf '%s\n' "$makefile" >Makefile
font font.pf
make -s font.asm
cmp -s font.asm <(glyphwright-cli export font.pf) || fail "make: font.asm is not the export"
make -q font.asm || fail "make: font.asm not up to date after building it"
touch -d '2000-01-01' font.asm
poke font.pf 520 18
make -s font.asm
cmp -s font.asm <(glyphwright-cli export font.pf) || fail "make: font.asm not rebuilt after font.pf changed"
make -s check-font || fail "make check-font fails on a matching table"
echo "Makefile rule: ok"

# The CI step, as written, passes on the generated table and fails on a stale one.
eval "$ci_step" || fail "CI step fails on a matching table"
poke font.pf 521 FF
if eval "$ci_step" 2>"$work/ci.err"; then fail "CI step passes on a stale table"; fi
grep -q "Char_065 ('A', 0x41) differs from font.pf" "$work/ci.err" || fail "CI step: $(cat "$work/ci.err")"
echo "CI check step: ok"

# CMake: the custom command makes font.asm in the build folder and remakes it after a change.
mkdir -p "$work/cmake/src" && cd "$work/cmake"
{
    echo "cmake_minimum_required(VERSION 3.22)"
    echo "project(firmware NONE)"
    printf '%s\n' "$cmake_snippet"
} >src/CMakeLists.txt
font src/font.pf
cmake -S src -B build >/dev/null
cmake --build build >/dev/null
cmp -s build/font.asm <(glyphwright-cli export src/font.pf) || fail "cmake: font.asm is not the export"
touch -d '2000-01-01' build/font.asm
poke src/font.pf 0 7E
cmake --build build >/dev/null
cmp -s build/font.asm <(glyphwright-cli export src/font.pf) || fail "cmake: font.asm not rebuilt"
echo "CMake custom command: ok"

# git diff shows a changed glyph as its rows, under the character's heading.
mkdir "$work/repo" && cd "$work/repo"
export HOME="$work" GIT_CONFIG_NOSYSTEM=1 GIT_AUTHOR_NAME=t GIT_AUTHOR_EMAIL=t@example.org \
    GIT_COMMITTER_NAME=t GIT_COMMITTER_EMAIL=t@example.org
git init -q .
printf '%s\n' "$attributes" >.gitattributes
eval "$git_config"
head -c 2048 /dev/zero >font.pf
git add . && git commit -qm font
poke font.pf 523 7E
diff="$(git diff)"
grep -q "^@@ .* @@ Char: A / 65 / 0x41$" <<<"$diff" || fail "git diff: no heading in the hunk: $diff"
grep -qx -- "-........ 0x00" <<<"$diff" || fail "git diff: the old row is missing: $diff"
grep -qx -- "+.######. 0x7E" <<<"$diff" || fail "git diff: the new row is missing: $diff"
[ "$(grep -c '^[-+][.#]' <<<"$diff")" = 2 ] || fail "git diff: more than the changed row: $diff"
echo "git diff driver: ok"
echo "README snippets: all ok"
