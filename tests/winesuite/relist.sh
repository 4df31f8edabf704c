#!/usr/bin/env bash
# Writes expected.txt again from what the suite's binaries fail now, for a person to review (git diff)
# after a change to the layer: its header and the evidence of the lines marked "~" are kept, every
# other line gets the check's message of this run as its evidence.
#   tests/winesuite/relist.sh [BUILD_DIR]   (default build/linux)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/linux}
list="$here/expected.txt"
new=$(mktemp)
trap 'rm -f "$new"' EXIT
sed -n '1,/^$/p' "$list" | sed '$d' >"$new"
for binary in "$build"/bin/winesuite_*; do
    echo >>"$new"
    echo "# ---- ${binary##*/winesuite_}" >>"$new"
    "$binary" 2>/dev/null | awk -v list="$list" '
        BEGIN { while ((getline line < list) > 0) if (line !~ /^#/ && split(line, w, " ") >= 2 && w[2] ~ /^~/) unsteady[substr(w[2], 2)] = line }
        /^winesuite / { file = $2; sub(/:$/, "", file) }
        $1 == "listed" || ($1 == "NOT" && $2 == "LISTED") {
            line = $0
            sub(/^ *(listed|NOT LISTED) +/, "", line)
            location = line; sub(/ .*/, "", location)
            rest = line; sub(/^[^ ]+ /, "", rest)
            locations[++count] = location; evidence[count] = rest
        }
        END {
            for (i = 1; i <= count; i++)
                if (locations[i] in unsteady) { print unsteady[locations[i]]; delete unsteady[locations[i]] }
                else printf "%s %s %s\n", file, locations[i], evidence[i]
            for (l in unsteady) if (index(unsteady[l], file " ") == 1) print unsteady[l]
        }' >>"$new" || true
done
cp "$new" "$list"
