#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What the running program costs: its share of one core (user + system time
# from /proc/PID/stat) and its wake-ups a second (voluntary and involuntary
# context switches of all its threads, from /proc/PID/task/*/status), each
# over a few seconds, under a virtual X server. One fresh program per case:
# the factory gear and a sample design, turning and stopped, with the Valve
# Events or the Live Diagrams window open and with neither.
#   scripts/measure-cpu.sh [--seconds N] [--program PATH] [--design FILE]
#                          [--only NAME]
# Defaults: 10 s, build/bin/kestrove, tests/data/big-engine.kvd, all cases.
# Prints one line per case: name, CPU %, wake-ups per second.
set -u
here=$(cd "$(dirname "$0")/.." && pwd)
seconds=10
program=$here/build/bin/kestrove
design=$here/tests/data/big-engine.kvd
only=""
while [ $# -gt 0 ]; do
    case $1 in
    --seconds) seconds=$2; shift 2 ;;
    --program) program=$2; shift 2 ;;
    --design) design=$2; shift 2 ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: $0 [--seconds N] [--program PATH] [--design FILE] [--only NAME]" >&2; exit 2 ;;
    esac
done
[ -x "$program" ] || { echo "no program at $program" >&2; exit 2; }
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --seconds "$seconds" \
        --program "$program" --design "$design" ${only:+--only "$only"}
fi
export KESTROVE_NO_SOUND=1
hz=$(getconf CLK_TCK)

# "ticks" and one "tid switches" line per thread.
snapshot() {
    awk '{print $14 + $15}' "/proc/$1/stat"
    for f in /proc/"$1"/task/*/status; do
        awk -v f="$f" '/^Pid:/ {t = $2} /ctxt_switches/ {n += $2} END {print t, n + 0}' "$f" \
            2>/dev/null
    done
}

# CPU % and wake-ups a second between two snapshots taken `seconds` apart.
# A thread that ended in between is not counted; one that began counts whole.
measure() {
    local a b
    a=$(snapshot "$1")
    sleep "$seconds"
    b=$(snapshot "$1")
    awk -v hz="$hz" -v s="$seconds" -v a="$a" -v b="$b" 'BEGIN {
        na = split(a, la, "\n"); nb = split(b, lb, "\n")
        for (i = 2; i <= na; i++) { split(la[i], f, " "); before[f[1]] = f[2] }
        w = 0
        for (i = 2; i <= nb; i++) { split(lb[i], f, " "); w += f[2] - (f[1] in before ? before[f[1]] : 0) }
        printf "%6.1f %% %8.1f /s\n", 100 * (lb[1] - la[1]) / hz / s, w / s
    }'
}

pid=""
window=""
start() {
    "$program" "$@" >/dev/null 2>&1 &
    pid=$!
    window=""
    for _ in $(seq 1 60); do
        kill -0 "$pid" 2>/dev/null || return 1
        window=$(xdotool search --name '^KESTROVE' 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        sleep 0.5
    done
    [ -n "$window" ] || return 1
    sleep 3
}
stop() {
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
}
# The Run/Stop button stands on the picture, which fills the window below
# the tool bar at its start size of 800 x 600.
click_run_stop() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove $((X + 181)) $((Y + HEIGHT - 600 + 28)) click 1
    xdotool mousemove 1270 1010 # off the window, where hovering does nothing
    sleep 1
}
# "Draw&Graphs", then the window's mnemonic.
open_window() {
    xdotool windowfocus --sync "$window" 2>/dev/null
    xdotool key --clearmodifiers alt+g
    sleep 0.5
    xdotool key "$1"
    sleep 4 # its first computation
}

run_case() {
    local name=$1 file=$2 stopped=$3 key=$4
    [ -n "$only" ] && [ "$only" != "$name" ] && return
    if ! start ${file:+"$file"}; then
        echo "$name: the program did not start" >&2
        stop
        return
    fi
    [ "$stopped" = yes ] && click_run_stop
    [ -n "$key" ] && open_window "$key"
    printf '%-28s %s\n' "$name" "$(measure "$pid")"
    stop
}

run_case factory-turning "" no ""
run_case factory-stopped "" yes ""
run_case sample-turning "$design" no ""
run_case sample-stopped "$design" yes ""
run_case factory-turning-events "" no v
run_case factory-stopped-events "" yes v
run_case factory-turning-live "" no l
run_case factory-stopped-live "" yes l
run_case sample-turning-live "$design" no l
