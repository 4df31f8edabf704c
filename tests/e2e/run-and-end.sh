#!/usr/bin/env bash
# Starts the program as a user would, waits for its window, ends it the way named, and checks
# that the process ends with exit code 0.
#   run-and-end.sh PROGRAM (escape|enter|close) [LAUNCHER...]
set -euo pipefail

program=$1
ending=$2
shift 2
launcher=("$@")
caption='^SlantGlyphDemo$'

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

"${launcher[@]}" "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT

# Wait up to 20 s for the window: a fresh Wine process can take a while to start.
window=""
for _ in $(seq 1 200); do
    window=$(xdotool search --name "$caption" 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || fail "the program ended before its window appeared"
    sleep 0.1
done
[ -n "$window" ] || fail "no window captioned SlantGlyphDemo appeared"
echo "window $window: $(xdotool getwindowname "$window")"

# The first paint has happened once the window is mapped; give the dialog its focus.
xdotool windowfocus --sync "$window" 2>/dev/null || true
sleep 0.3

case "$ending" in
escape) xdotool key --clearmodifiers Escape ;;
enter) xdotool key --clearmodifiers Return ;;
close)
    # The close button sits at the right end of the caption.
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + WIDTH - 12)) $((Y + 10)) click 1
    ;;
*) fail "unknown ending '$ending'" ;;
esac

# The process must end on its own within 10 s.
for _ in $(seq 1 100); do
    if ! kill -0 "$pid" 2>/dev/null; then
        trap - EXIT
        set +e
        wait "$pid"
        status=$?
        set -e
        [ "$status" -eq 0 ] || fail "exit code $status after $ending"
        echo "ended by $ending with exit code 0"
        exit 0
    fi
    sleep 0.1
done
fail "the program was still running 10 s after $ending"
