#!/usr/bin/env bash
# Plays the same scripts natively and under Wine and compares the logs step by step.
#   compare.sh NATIVE_DRIVER WINDOWS_DRIVER OUT_DIR ACCEPTED [run arguments: scripts, --random ...]
# The logs and the report (the first step where each script parts, both states side by side) go
# to OUT_DIR. Wine comes from $WINE or the PATH; the caller gives the prefix and the display.
set -euo pipefail

native=$1 windows=$2 out=$3 accepted=$4
shift 4
if [ ! -x "$native" ]; then
    echo "conformance: no native driver at $native: build the preset linux, or set the cache" \
        "variable CONFORMANCE_NATIVE_DRIVER to a native build's bin/conformance" >&2
    exit 1
fi
mkdir -p "$out"
# The native run needs no display of its own: it plays while Wine does.
"$native" run --out "$out/native.log" "$@" &
native_run=$!
"${WINE:-wine}" "$windows" run --out "$out/wine.log" "$@"
wait "$native_run"
compare() {
    status=0
    "$native" compare "$out/native.log" "$out/wine.log" --accepted "$accepted" >"$out/report.txt" || status=$?
    cat "$out/report.txt"
}
compare
# Some of Wine's faults show only when Wine is quick enough (a timer still running when the next
# input comes). When an accepted difference is all that is missing, Wine plays the scripts again, up
# to twice; a fault that shows in none of the three runs has been mended, and the run fails.
for attempt in 2 3; do
    [ "$status" -ne 0 ] && grep -q ' 0 scripts part from Wine otherwise; ' "$out/report.txt" || break
    echo "conformance: an accepted difference did not show; Wine's run $attempt of 3" >&2
    "${WINE:-wine}" "$windows" run --out "$out/wine.log" "$@"
    compare
done
exit $status
