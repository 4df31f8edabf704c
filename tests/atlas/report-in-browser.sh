#!/usr/bin/env bash
# The comparison report of a small sheet, made natively and with the Windows build under Wine on a
# private X display, opened in Chromium (headless, offline): every image must load, as the page's
# banner says in the screenshot (green, "N of N images loaded") and in the page's text.
#   report-in-browser.sh ATLAS WINDOWS-ATLAS.exe CONFORMANCE.md WINE-PREFIX-SCRIPT WINE-PREFIX
set -euo pipefail

atlas=$1
windows_atlas=$2
conformance=$3
wine_prefix_script=$4
eval "$("$(dirname "$wine_prefix_script")/wine-env" "$5")"

if [ ! -f "$windows_atlas" ]; then
    echo "report-in-browser: no Windows build at $windows_atlas: build the preset windows, or set the" \
        "cache variable ATLAS_WINDOWS_EXE to a Windows build's slantglyph-atlas.exe" >&2
    exit 1
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$wine_prefix_script" "$WINEPREFIX" --headless >/dev/null
# Two escapements by two orientations: each side's scene and their difference, twelve images.
xvfb-run --auto-servernum "$atlas" compare "$work/report" --windows-exe "$windows_atlas" --faults "$conformance" \
    --escapements 0,450 --orientations 0,900 --mode advanced
expected="12 of 12 images loaded"

# Without these flags Chromium reaches for the network, which is closed here.
browse() {
    chromium --headless --no-sandbox --disable-gpu --disable-quic --no-first-run --disable-background-networking \
        --disable-component-update --disable-sync --user-data-dir="$work/profile-$1" --window-size=1200,900 \
        --virtual-time-budget=5000 "${@:2}" "file://$work/report/index.html" 2>/dev/null
}
browse shot --screenshot="$work/shot.png" >/dev/null
browse dom --dump-dom >"$work/dom.html"

status=0
grep -q "$expected" "$work/dom.html" || {
    echo "the page does not say \"$expected\": $(grep -o '[0-9]* of [0-9]* images loaded' "$work/dom.html")" >&2
    status=1
}
# The banner's colour, from the screenshot: green when every image loaded, red when one did not.
banner=$(convert "$work/shot.png" -format '%[pixel:p{1100,25}]' info:)
if [ "$banner" != "srgb(0,170,0)" ]; then
    echo "the banner in the screenshot is $banner, not green" >&2
    status=1
fi
if [ -n "${ATLAS_KEEP_SCREENSHOT:-}" ]; then
    cp "$work/shot.png" "$ATLAS_KEEP_SCREENSHOT"
fi
exit $status
