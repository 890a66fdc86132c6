#!/usr/bin/env bash
# A seeded random monkey on the real program in a real (virtual) X server:
# fails on a crash, a sanitizer report or a picture that no longer moves.
#   monkey_test.sh <kestrove> <work folder> [seed] [seconds]
# Exits 77 (skipped) when the X server or the tools are missing.
set -u
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$2
seed=${3:-18}
seconds=${4:-60}

for tool in xvfb-run xauth xdotool import compare; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

here=$(cd "$(dirname "$0")" && pwd)
rm -rf "$work"
mkdir -p "$work/files"
# Whatever the monkey saves lands in a folder of its own.
cd "$work/files" || exit 1
# The window tests' offscreen platform would keep the real window off the
# X server.
unset QT_QPA_PLATFORM
export HOME="$work/files"
# A sanitized build reports its faults on stderr; leaks of the libraries at
# exit are not the program's.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1
echo "seed $seed, $seconds seconds"
timeout $((seconds + 90)) xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash "$here/monkey_session.sh" "$program" "$work" "$seed" "$seconds"
