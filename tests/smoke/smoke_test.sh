#!/usr/bin/env bash
# Smoke test of the real program in a real X server: the gear is drawn (the
# main rod's red, the radius bar's maroon and the reverse arm's lime are on
# the screen), it moves, and the program closes from its menu.
#   smoke_test.sh <kestrove> <work folder>
# Exits 77 (skipped) when the X server or the capture tools are missing.
set -u
program=$1
work=$2

for tool in xvfb-run xauth import convert compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$work"
rm -f "$work"/*.png
# The program reads its sounds from its working directory.
cd "$(dirname "$program")" || exit 1
# The window tests' offscreen platform would keep the real window off the
# X server.
unset QT_QPA_PLATFORM
xvfb-run -a -s "-screen 0 1280x1024x24" bash "$here/smoke_session.sh" "$program" "$work" ||
    exit 1

# Pixels of one exact colour in a capture.
count() {
    convert "$1" -format %c histogram:info:- |
        awk -v c="$2" 'toupper($0) ~ " " c " " { sub(":", "", $1); n += $1 } END { print n + 0 }'
}

status=0
for shot in "$work/shot1.png" "$work/shot2.png"; do
    red=$(count "$shot" "#FF0000")
    maroon=$(count "$shot" "#800000")
    lime=$(count "$shot" "#00FF00")
    echo "$(basename "$shot"): red $red, maroon $maroon, lime $lime"
    [ "$red" -ge 50 ] || { echo "no main rod"; status=1; }
    [ "$maroon" -ge 3 ] || { echo "no radius bar"; status=1; }
    [ "$lime" -ge 20 ] || { echo "no reverse arm"; status=1; }
done

changed=$(compare -metric AE "$work/shot1.png" "$work/shot2.png" null: 2>&1 | cut -d' ' -f1)
echo "pixels changed between the captures: $changed"
[ "${changed%.*}" -gt 100 ] 2>/dev/null || { echo "the picture does not move"; status=1; }
# The motion controls, where xdotool could click them.
differ() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
if [ -f "$work/fwd.png" ]; then
    stopped=$(differ "$work/stop1.png" "$work/stop2.png")
    turned=$(differ "$work/stop2.png" "$work/deg180.png")
    geared=$(differ "$work/deg180.png" "$work/fwd.png")
    echo "after Stop: $stopped pixels changed; after 180: $turned; after Fwd: $geared"
    [ "${stopped%.*}" -eq 0 ] 2>/dev/null || { echo "the wheel did not stop"; status=1; }
    [ "${turned%.*}" -gt 100 ] 2>/dev/null || { echo "180 did not turn the wheel"; status=1; }
    [ "${geared%.*}" -gt 100 ] 2>/dev/null || { echo "Fwd did not move the reverse arm"; status=1; }
fi
exit $status
