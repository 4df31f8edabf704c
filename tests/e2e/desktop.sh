#!/usr/bin/env bash
# Drives the native program's real window from outside, on a private X display of its own, and
# reads what it shows from screenshots.
#   desktop.sh PROGRAM CLOSE-REQUEST CHECK
# CHECK is one of:
#   start       the window appears, captioned and drawn; prints the idle CPU use over 5 s
#   escape, enter, close
#               that key, or the window's close request, ends the process with exit code 0
#   escapement  typing 450 into the focused escapement field turns the text by 45 degrees
#   animate     clicking the first "Animate" turns the text and greys the second "Animate"
set -euo pipefail

program=$1
close_request=$2
check=$3

# Client coordinates from the dialog's layout (dialog units 5,245 and 100,245 for the check boxes).
first_animate_box=(15 505)
second_animate_label=(190 497 50 16) # x y width height
scene_height=400                     # the controls start below

work=$(mktemp -d)
server=""
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    if [ -n "$server" ]; then kill "$server" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Polls `condition...` every 0.1 s for up to `tenths` tenths of a second.
wait_for() {
    local tenths=$1
    shift
    for _ in $(seq 1 "$tenths"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

# Xvfb picks a free display number and writes it to the file.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
server=$!
wait_for 100 test -s "$work/display" || fail "Xvfb did not start"
DISPLAY=":$(cat "$work/display")"
export DISPLAY

"$program" 2>"$work/stderr" &
pid=$!

find_window() {
    window=$(xdotool search --onlyvisible --name '^SlantGlyphDemo$' 2>/dev/null | head -n 1 || true)
    [ -n "$window" ] || { kill -0 "$pid" 2>/dev/null || fail "the program ended early: $(cat "$work/stderr")"; false; }
}
wait_for 100 find_window || fail "no window captioned SlantGlyphDemo appeared"
xdotool windowfocus --sync "$window" 2>/dev/null || true

screenshot() {
    import -window "$window" "$work/$1.png"
}

# The pixels of a screenshot, or of a part (WIDTHxHEIGHT+X+Y), one "x y red green blue" a line.
pixels() {
    convert "$work/$1.png" ${2:+-crop "$2" +repage} -depth 8 txt:- |
        sed -n 's/^\([0-9]*\),\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\)).*/\1 \2 \3 \4 \5/p'
}

# The direction of the red ink (the text) in the scene, in degrees counter-clockwise; "none" without ink.
red_direction() {
    pixels "$1" "1000x${scene_height}+0+0" | awk '
        $3 > 200 && $4 < 80 && $5 < 80 {
            n++; sx += $1; sy += $2; sxx += $1 * $1; syy += $2 * $2; sxy += $1 * $2
        }
        END {
            if (n < 50) { print "none"; exit }
            mx = sx / n; my = sy / n
            cxx = sxx / n - mx * mx; cyy = syy / n - my * my; cxy = sxy / n - mx * my
            printf "%.1f\n", -0.5 * atan2(2 * cxy, cxx - cyy) * 180 / 3.14159265
        }'
}

# The ink of a part of a screenshot: "dark grey" pixel counts (below 80; 80 to 200, as greyed text is).
ink() {
    pixels "$1" "$2" | awk '
        $3 < 80 && $4 < 80 && $5 < 80 { dark++; next }
        $3 < 200 && $4 < 200 && $5 < 200 { grey++ }
        END { print dark + 0, grey + 0 }'
}

# True when `angle` is within `tolerance` degrees of `expected`.
near() {
    awk -v a="$1" -v e="$2" -v t="$3" 'BEGIN { exit !(a != "none" && a - e <= t && e - a <= t) }'
}

program_ended() {
    ! kill -0 "$pid" 2>/dev/null
}

ends_with_success() {
    wait_for 100 program_ended || fail "the program was still running 10 s after $check"
    set +e
    wait "$pid"
    local status=$?
    set -e
    pid=""
    [ "$status" -eq 0 ] || fail "exit code $status after $check"
    echo "ended by $check with exit code 0"
}

text_turned_to() {
    screenshot turned
    near "$(red_direction turned)" "$1" 6
}

# The second "Animate" label drawn enabled (dark ink) or greyed (grey ink only); callers poll, as
# the window repaints in its own time.
second_animate_ink() {
    screenshot label
    ink label "${second_animate_label[2]}x${second_animate_label[3]}+${second_animate_label[0]}+${second_animate_label[1]}"
}
second_animate_inked() {
    local dark grey
    read -r dark grey < <(second_animate_ink)
    [ "$dark" -gt 0 ]
}
second_animate_greyed() {
    local dark grey
    read -r dark grey < <(second_animate_ink)
    [ "$dark" -eq 0 ] && [ "$grey" -gt 10 ]
}

case "$check" in
start)
    [ "$(xdotool getwindowname "$window")" = SlantGlyphDemo ] || fail "wrong caption"
    wait_for 30 text_turned_to 0 || fail "the text is not drawn level (direction $(red_direction turned))"
    echo "window $window: $(xdotool getwindowgeometry "$window" | tr -s '\n ' ' ')"
    ticks_per_second=$(getconf CLK_TCK)
    before=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    sleep 5
    after=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
    awk -v t=$((after - before)) -v hz="$ticks_per_second" 'BEGIN { printf "idle CPU use over 5 s: %.1f%%\n", 100 * t / hz / 5 }'
    ;;
escape | enter | close)
    wait_for 30 text_turned_to 0 || fail "the scene was never drawn"
    case "$check" in
    escape) xdotool key --clearmodifiers Escape ;;
    enter) xdotool key --clearmodifiers Return ;;
    close) "$close_request" "$window" ;;
    esac
    ends_with_success
    ;;
escapement)
    wait_for 30 text_turned_to 0 || fail "the text is not drawn level at first"
    xdotool type --delay 30 450
    wait_for 30 text_turned_to 45 || fail "the text did not turn to 45 degrees (direction $(red_direction turned))"
    echo "text direction after typing 450: $(red_direction turned) degrees"
    ;;
animate)
    wait_for 30 text_turned_to 0 || fail "the scene was never drawn"
    wait_for 30 second_animate_inked || fail "the second Animate label is not drawn in black at first"
    xdotool mousemove --window "$window" "${first_animate_box[@]}" click 1
    wait_for 30 second_animate_greyed || fail "the second Animate box was not greyed"
    screenshot first
    sleep 0.3
    screenshot second
    changed=$(compare -metric AE -crop "1000x${scene_height}+0+0" "$work/first.png" "$work/second.png" null: 2>&1 || true)
    echo "pixels of the scene changed in 300 ms: $changed"
    [ "${changed%%.*}" -gt 100 ] 2>/dev/null || fail "the text did not turn (changed pixels: $changed)"
    ;;
*) fail "unknown check '$check'" ;;
esac
