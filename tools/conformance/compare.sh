#!/usr/bin/env bash
# Plays the same scripts natively and under Wine and compares the logs step by step.
#   compare.sh NATIVE_DRIVER WINDOWS_DRIVER OUT_DIR ACCEPTED [run arguments: scripts, --random ...]
# The logs and the report (the first step where each script parts, both states side by side) go
# to OUT_DIR. Wine comes from $WINE or the PATH; the caller gives the prefix and the display.
set -euo pipefail

native=$1 windows=$2 out=$3 accepted=$4
shift 4
if [ ! -x "$native" ]; then
    echo "conformance: no native driver at $native; build preset linux first" >&2
    exit 1
fi
mkdir -p "$out"
"$native" run --out "$out/native.log" "$@"
"${WINE:-wine}" "$windows" run --out "$out/wine.log" "$@"
status=0
"$native" compare "$out/native.log" "$out/wine.log" --accepted "$accepted" >"$out/report.txt" || status=$?
cat "$out/report.txt"
exit $status
