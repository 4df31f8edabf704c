#!/usr/bin/env bash
# Prints the failing check lines of one file's run in expected.txt's form, its messages as the
# evidence, for a person to check and copy in after a change to the layer or to the harness.
#   tests/winesuite/relist.sh build/linux/bin/winesuite_comctl32_updown
set -euo pipefail
binary=$1
"$binary" | awk '
    /^winesuite / { file = $2; sub(/:$/, "", file) }
    $1 == "listed" || ($1 == "NOT" && $2 == "LISTED") {
        line = $0
        sub(/^ *(listed|NOT LISTED) +/, "", line)
        location = line; sub(/ .*/, "", location)
        rest = line; sub(/^[^ ]+ /, "", rest)
        lines[++count] = location "\t" rest
    }
    END { for (i = 1; i <= count; i++) { split(lines[i], part, "\t"); printf "%s %s %s\n", file, part[1], part[2] } }'
