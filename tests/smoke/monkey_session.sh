#!/usr/bin/env bash
# Runs inside the X server: a seeded random monkey plays with the program for
# a while, clicking over the window and its tool bar, opening menus by their
# mnemonics, typing numbers and garbage into whatever dialog has the focus,
# pressing Escape and Enter. Every 20 seconds, and at the end, it closes what
# is open and checks that the picture still moves.
#   monkey_session.sh <kestrove> <output folder> <seed> <seconds>
set -u
program=$1
out=$2
RANDOM=$3
seconds=$4
log="$out/program.log"
: >"$log"

t() { timeout 5 "$@" 2>/dev/null; } # no X call may hang the monkey
pid=""
window=""

start() {
    "$program" >>"$log" 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 1 60); do
        kill -0 "$pid" 2>/dev/null || return 1
        window=$(t xdotool search --name '^KESTROVE' | head -n 1)
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || return 1
    sleep 2
    eval "$(t xdotool getwindowgeometry --shell "$window")"
    wx=$X wy=$Y ww=$WIDTH wh=$HEIGHT
}

# Fails the run when the program has gone by itself other than through
# "E&xit"; after an exit it is started again.
alive() {
    kill -0 "$pid" 2>/dev/null && return 0
    wait "$pid"
    local status=$?
    if [ "$status" -ne 0 ]; then
        echo "the program ended with status $status"
        return 1
    fi
    echo "the program was closed by the monkey; starting it again"
    start
}

sanitizer_report() {
    grep -E "ERROR: AddressSanitizer|runtime error:|ERROR: LeakSanitizer" "$log"
}

differ() {
    compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1
}

moving() {
    t import -window root "$out/a.png" || return 1
    sleep 1
    t import -window root "$out/b.png" || return 1
    local n
    n=$(differ "$out/a.png" "$out/b.png")
    [ "${n%.*}" -gt 0 ] 2>/dev/null
}

# Close every dialog and menu, then the picture must move: if it stands
# still, the monkey may have stopped the wheel, so Run is pressed once.
check_moving() {
    for attempt in 1 2; do
        for _ in 1 2 3 4 5; do
            t xdotool key Escape
            sleep 0.3
        done
        moving && return 0
        # The Run/Stop button stands on the picture, which fills the window
        # below the tool bar.
        t xdotool mousemove $((wx + 181)) $((wy + wh - 600 + 28)) click 1
        sleep 0.5
        moving && return 0
        [ "$attempt" = 1 ] && echo "the picture stood still; trying again"
    done
    echo "the picture is frozen"
    cp "$out/a.png" "$out/frozen.png"
    return 1
}

garbage=("12.5" "-3" "0" "1e9" "-99999999" "abc" "3.4e38" "." "-" "--1..2" "nan" "inf" "7"
    "0.0001" "%s%n" "$(printf 'x%.0s' $(seq 1 80))")
mnemonics=(f d m v s g h)
letters=(a b c d e f g h i j k l m n o p q r s t u v w y z 1 2 3)

act() {
    local r=$((RANDOM % 100))
    if [ "$r" -lt 40 ]; then
        # A click anywhere on the window: menu bar, tool bar, controls, picture.
        t xdotool mousemove $((wx + RANDOM % ww)) $((wy + RANDOM % wh)) click $((RANDOM % 3 == 0 ? 3 : 1))
    elif [ "$r" -lt 55 ]; then
        local m=${mnemonics[$((RANDOM % ${#mnemonics[@]}))]}
        t xdotool key "alt+$m"
        sleep 0.2
        local l=${letters[$((RANDOM % ${#letters[@]}))]}
        # "E&xit" is left alone here; a click may still find it.
        t xdotool key "$l"
    elif [ "$r" -lt 75 ]; then
        t xdotool type --delay 5 "${garbage[$((RANDOM % ${#garbage[@]}))]}"
        t xdotool key Tab
    elif [ "$r" -lt 85 ]; then
        t xdotool key Return
    elif [ "$r" -lt 95 ]; then
        t xdotool key Escape
    else
        t xdotool key "${letters[$((RANDOM % ${#letters[@]}))]}"
    fi
    sleep 0.$((RANDOM % 3 + 1))
}

start || { echo "the program did not show its window"; cat "$log"; exit 1; }
check_moving || exit 1
status=0
begin=$SECONDS
next_check=$((begin + 20))
actions=0
while [ $((SECONDS - begin)) -lt "$seconds" ]; do
    act
    actions=$((actions + 1))
    alive || { status=1; break; }
    if [ "$SECONDS" -ge "$next_check" ]; then
        check_moving || { status=1; break; }
        next_check=$((SECONDS + 20))
    fi
done
if [ "$status" = 0 ]; then
    alive && check_moving || status=1
fi
echo "$actions actions"

# Close it; a program that will not close in time is ended by force.
kill -TERM "$pid" 2>/dev/null
for _ in $(seq 1 20); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.25
done
kill -KILL "$pid" 2>/dev/null
wait "$pid" 2>/dev/null

if sanitizer_report; then
    echo "a sanitizer reported a fault"
    status=1
fi
exit $status
