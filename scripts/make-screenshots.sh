#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Renders the README's pictures with the program's own code: the four
# diagrams through kestrove-cli, the main window from a real run under Xvfb.
# Usage: scripts/make-screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
bin="${1:-build}/bin"
out=docs/images
mkdir -p "$out"

"$bin/kestrove-cli" diagram sine --bare -o "$out/sine.png"
"$bin/kestrove-cli" diagram oval --bare -o "$out/oval.png"
"$bin/kestrove-cli" diagram steam --bare -o "$out/steam.png"
"$bin/kestrove-cli" diagram ports --mode B --bare -o "$out/ports.png"

# The main window, after a few seconds of running, at front dead centre
# plus a little, in full forward gear.
here=$(pwd)
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "
    cd '$bin' && KESTROVE_NO_SOUND=1 ./kestrove &
    pid=\$!
    sleep 3
    window=\$(xdotool search --onlyvisible --name KESTROVE | head -n 1)
    import -window \"\$window\" '$here/$out/main-window.png'
    kill \$pid"
