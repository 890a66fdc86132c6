#!/usr/bin/env bash
# install_test.sh CMAKE BUILD_DIR SCRATCH_DIR
# Installs BUILD_DIR into a fresh prefix under SCRATCH_DIR, then checks that
# the installed program, started from an empty folder, finds every text and
# sound in <prefix>/share/kestrove, also after the prefix is moved, and that a
# program without its data folder reports them missing.
set -u
cmake=$1 build=$2 scratch=$3
mkdir -p "$scratch"
root=$(mktemp -d "$scratch/install.XXXXXX")
trap 'rm -rf "$root"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

prefix=$root/prefix
"$cmake" --install "$build" --prefix "$prefix" > "$root/install.log" 2>&1 ||
    { cat "$root/install.log"; echo "FAIL: cmake --install"; exit 1; }

for f in bin/kestrove bin/kestrove-cli; do
    [ -x "$prefix/$f" ] || fail "$f is not installed"
done
for f in share/applications/kestrove.desktop share/mime/packages/kestrove.xml \
    share/icons/hicolor/scalable/apps/kestrove.svg \
    share/icons/hicolor/scalable/mimetypes/application-x-kestrove-design.svg \
    share/metainfo/kestrove.metainfo.xml share/doc/kestrove/copyright; do
    [ -s "$prefix/$f" ] || fail "$f is not installed"
done
grep -q '<project_license>GPL-3.0-or-later</project_license>' \
    "$prefix/share/metainfo/kestrove.metainfo.xml" || fail "the metainfo names no licence"
grep -q '^License: GPL-3.0-or-later' "$prefix/share/doc/kestrove/copyright" ||
    fail "the copyright names no licence"
grep -q '<glob pattern="\*\.kvd"/>' "$prefix/share/mime/packages/kestrove.xml" ||
    fail "the file type has no *.kvd glob"
grep -q '^MimeType=application/x-kestrove-design;' "$prefix/share/applications/kestrove.desktop" ||
    fail "the desktop entry does not open the designs"
if command -v xmllint > /dev/null; then
    xmllint --noout "$prefix/share/mime/packages/kestrove.xml" \
        "$prefix/share/icons/hicolor/scalable/apps/kestrove.svg" \
        "$prefix/share/metainfo/kestrove.metainfo.xml" || fail "malformed XML"
fi

# Every file found, and found in the data folder of the prefix given.
expect_found() {
    local program=$1 data=$2 out
    out=$(cd "$root/empty" && "$program" --print-paths) || fail "$program --print-paths: status $?"
    for name in instruct.doc KesSpIns.doc Exhaust.wav Error.wav; do
        grep -qxF "$name	$data/$name" <<< "$out" ||
            fail "$name not found in $data; the program says:"$'\n'"$out"
    done
}
mkdir -p "$root/empty"
expect_found "$prefix/bin/kestrove" "$(cd "$prefix/share/kestrove" && pwd -P)"

# The data folder is found from the program's folder, not from the prefix
# it was installed for.
mv "$prefix" "$root/moved"
expect_found "$root/moved/bin/kestrove" "$(cd "$root/moved/share/kestrove" && pwd -P)"

# Without the data folder the same check must fail.
mkdir -p "$root/alone"
cp "$root/moved/bin/kestrove" "$root/alone/"
if out=$(cd "$root/empty" && "$root/alone/kestrove" --print-paths); then
    fail "a program without its data reports success:"$'\n'"$out"
fi
[ "$(grep -c '	not found$' <<< "$out")" = 4 ] || fail "missing files not reported:"$'\n'"$out"

"$root/moved/bin/kestrove-cli" --version > /dev/null 2>&1 || fail "the installed kestrove-cli does not run"

[ "$failures" = 0 ] && echo "installed program finds its texts and sounds"
exit $((failures > 0))
