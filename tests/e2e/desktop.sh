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
#   updown      a click on an arrow beside the escapement field steps it by one
#   independent with "==" unchecked, typing into one angle field leaves the other as it was
#   align-top   choosing "TA_TOP" from the drop-down list with the mouse puts the cells under the line
#   clipboard   Ctrl+C in one field and Ctrl+V in the other carry the angle over, through the
#               desktop's clipboard, which other programs read and fill too
# Fields are read through the desktop's clipboard: clicked, Ctrl+A, Ctrl+C, then xclip.
set -euo pipefail

program=$1
close_request=$2
check=$3

# Client coordinates from the dialog's layout: Tahoma at 9 points makes a dialog unit 7/4 pixels
# wide and 14/8 high (the check boxes at 5,245 and 100,245 are at 9,429 and 175,429).
first_animate_box=(15 442)
second_animate_label=(190 435 50 14) # x y width height
scene_height=360                     # the controls start below
escapement_field=(37 408)
orientation_field=(200 407)
escapement_up=(72 401)   # the arrows of the escapement's up-down, inside the field's right edge
escapement_down=(72 415)
equal_box=(114 406)      # "=="
alignment_list=(500 404) # the drop-down list's box
cross_y=170              # the horizontal line of the reference cross

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
    if [ -s "$work/stderr" ]; then
        echo "the program's standard error:" >&2
        cat "$work/stderr" >&2
    fi
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

# Xvfb picks a free display number and writes it to the file. -noreset: no server reset each time
# its last client leaves (the short-lived xdotool ones do), during which a new client can be refused.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
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

# Yellow pixels (the character cells) of the scene above and below the cross's horizontal line.
yellow_around_cross() {
    pixels "$1" "1000x${scene_height}+0+0" | awk -v line="$cross_y" '
        $3 > 200 && $4 > 200 && $5 < 80 { if ($2 < line) above++; else below++ }
        END { print above + 0, below + 0 }'
}

click() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
}

# The desktop's clipboard; an owner that never answers must not hang the test.
desktop_clipboard() {
    timeout 5 xclip -o -selection clipboard 2>/dev/null || true
}

# The text of the field at client point x y, as Ctrl+A and Ctrl+C copy it.
field_text() {
    click "$1" "$2"
    xdotool key --clearmodifiers ctrl+a ctrl+c
    sleep 0.1
    desktop_clipboard
}

field_holds() {
    [ "$(field_text "$1" "$2")" = "$3" ]
}

# Replaces the text of the field at client point x y by typing.
type_into() {
    click "$1" "$2"
    xdotool key --clearmodifiers ctrl+a
    xdotool type --delay 30 "$3"
}

# The first visible window of the program other than its dialog: the open drop-down list.
popup_window() {
    popup=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | grep -vx "$window" | head -n 1 || true)
    [ -n "$popup" ]
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
updown)
    wait_for 30 text_turned_to 0 || fail "the scene was never drawn"
    click "${escapement_up[@]}"
    wait_for 30 field_holds "${escapement_field[@]}" 1 ||
        fail "one click on the up arrow made '$(field_text "${escapement_field[@]}")' of an empty field, not 1"
    click "${escapement_down[@]}"
    click "${escapement_down[@]}"
    wait_for 30 field_holds "${escapement_field[@]}" -1 ||
        fail "two clicks on the down arrow made '$(field_text "${escapement_field[@]}")' of 1, not -1"
    echo "escapement field after up, down, down: $(field_text "${escapement_field[@]}")"
    ;;
independent)
    wait_for 30 text_turned_to 0 || fail "the scene was never drawn"
    click "${equal_box[@]}" # unchecks it, and sends the escapement (0) to the orientation once
    wait_for 30 field_holds "${orientation_field[@]}" 0 || fail "unchecking == did not mirror 0 into the orientation"
    type_into "${escapement_field[@]}" 450
    wait_for 30 text_turned_to 45 || fail "the text did not turn to 45 degrees (direction $(red_direction turned))"
    wait_for 30 field_holds "${orientation_field[@]}" 0 ||
        fail "the orientation followed the escapement: '$(field_text "${orientation_field[@]}")'"
    type_into "${orientation_field[@]}" 900
    wait_for 30 field_holds "${orientation_field[@]}" 900 || fail "typing 900 into the orientation did not take"
    wait_for 30 field_holds "${escapement_field[@]}" 450 ||
        fail "the escapement followed the orientation: '$(field_text "${escapement_field[@]}")'"
    text_turned_to 45 || fail "the text line left 45 degrees (direction $(red_direction turned))"
    echo "escapement $(field_text "${escapement_field[@]}"), orientation $(field_text "${orientation_field[@]}")"
    ;;
align-top)
    wait_for 30 text_turned_to 0 || fail "the scene was never drawn"
    screenshot baseline
    read -r above below < <(yellow_around_cross baseline)
    [ "$above" -gt 300 ] && [ "$below" -gt 0 ] || fail "TA_BASELINE cells are not across the line ($above above, $below below)"
    echo "TA_BASELINE: $above yellow pixels above the line, $below below"
    click "${alignment_list[@]}"
    wait_for 30 popup_window || fail "clicking the drop-down list's box opened no list"
    eval "$(xdotool getwindowgeometry --shell "$popup")"
    # Three items, one line each: the middle one is TA_TOP.
    xdotool mousemove --window "$popup" $((WIDTH / 2)) $((HEIGHT / 2)) click 1
    cells_below() {
        screenshot top
        read -r above below < <(yellow_around_cross top)
        [ "$above" -eq 0 ] && [ "$below" -gt 300 ]
    }
    wait_for 30 cells_below || fail "after choosing TA_TOP: $above yellow pixels above the line, $below below"
    echo "TA_TOP: $above yellow pixels above the line, $below below"
    if popup_window; then fail "the list stayed open"; fi
    ;;
clipboard)
    wait_for 30 text_turned_to 0 || fail "the scene was never drawn"
    click "${equal_box[@]}" # unchecked, the fields are independent
    type_into "${orientation_field[@]}" 450
    xdotool key --clearmodifiers ctrl+a ctrl+c
    clipboard_holds() { [ "$(desktop_clipboard)" = "$1" ]; }
    wait_for 30 clipboard_holds 450 || fail "Ctrl+C put '$(desktop_clipboard)' on the desktop's clipboard, not 450"
    click "${escapement_field[@]}"
    xdotool key --clearmodifiers ctrl+a ctrl+v
    wait_for 30 text_turned_to 45 || fail "pasting 450 into the escapement did not turn the text (direction $(red_direction turned))"
    echo "text direction after pasting 450: $(red_direction turned) degrees"
    # Text another program copied.
    printf %s -300 | xclip -selection clipboard -i >/dev/null 2>&1
    click "${escapement_field[@]}"
    xdotool key --clearmodifiers ctrl+a ctrl+v
    wait_for 30 text_turned_to -30 || fail "pasting -300 from another program did not turn the text (direction $(red_direction turned))"
    echo "text direction after pasting -300 from xclip: $(red_direction turned) degrees"
    ;;
*) fail "unknown check '$check'" ;;
esac
