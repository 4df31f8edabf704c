#!/usr/bin/env bash
# The Windows zip as a user meets it: one folder holding the executable, the README and the
# licence, nothing else; unpacked anywhere, the executable starts under Wine in a new prefix that nothing has been
# added to (wineboot alone), opens its window on a private X display and ends on Escape.
#   zip.sh PACKAGE.zip
# The prefix and the unpacked files live in a folder of their own that goes on the way out.
set -euo pipefail

zip=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
folder=$(basename "$zip" .zip)
expected_files=("$folder/LICENSE" "$folder/README.md" "$folder/SlantGlyphDemo.exe")

work=$(mktemp -d)
eval "$("$source_dir/scripts/wine-env" "$work/prefix")"
cleanup() {
    wineserver -k 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

echo "== contents"
(cd "$work" && cmake -E tar xf "$zip")
files=$(cd "$work" && find "$folder" -type f | sort)
echo "$files"
[ "$files" = "$(printf '%s\n' "${expected_files[@]}" | sort)" ] ||
    fail "the zip should hold exactly: ${expected_files[*]}"
cmp "$work/$folder/README.md" "$source_dir/README.md" || fail "the zip's README is not the project's"
cmp "$work/$folder/LICENSE" "$source_dir/LICENSE" || fail "the zip's LICENSE is not the project's"

echo "== start under Wine, in a new prefix, on a private X display"
wineboot --init
wineserver --wait
# Wine's own processes end before the display does.
# shellcheck disable=SC2016 # the inner shell expands its own arguments
xvfb-run --auto-servernum --server-args="-screen 0 1280x1024x24 -noreset" bash -c '
    status=0
    "$1" "$2" escape wine || status=$?
    wineserver -k 2>/dev/null || true
    exit $status' run-and-end "$here/../e2e/run-and-end.sh" "$work/$folder/SlantGlyphDemo.exe" ||
    fail "the zip's executable did not start and end under Wine"
echo "$(basename "$zip"): holds the executable, the README and the licence; started and ended under Wine"
