#!/usr/bin/env bash
# The native build compiles the resource script with the host compiler as windres' preprocessor,
# so that running the program needs no cross compiler. Its bytes must be the ones windres gives
# with MinGW-w64's own compiler preprocessing, as the Windows build has them.
#   same-resources.sh WINDRES SCRIPT.rc EMBEDDED.res [INCLUDE-DIR...]
set -euo pipefail

windres=$1
script=$2
embedded=$3
includes=(-I "$(dirname "$script")")
for dir in "${@:4}"; do
    includes+=(-I "$dir")
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$windres" --preprocessor=i686-w64-mingw32-gcc --preprocessor-arg=-E --preprocessor-arg=-xc \
    --preprocessor-arg=-DRC_INVOKED "${includes[@]}" -O res -o "$work/cross.res" "$script"
cmp "$work/cross.res" "$embedded"
echo "$(wc -c <"$embedded") bytes, the same both ways"
