#!/bin/sh
# Installs the build into a temporary prefix, moves the installation to
# another folder, and runs the installed programs from a third folder: they
# must find their picture programs and the camera library relative to
# themselves, with nothing taken from the build tree.
#
# Usage: installed_run.sh BUILD_FOLDER
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

fail() { echo "installed_run: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/first" >/dev/null
mv "$work/first" "$work/moved"
prefix="$work/moved"
mkdir -p "$work/home" "$work/elsewhere"
cd "$work/elsewhere"
export HOME="$work/home" XDG_CACHE_HOME="$work/home/cache" XDG_CONFIG_HOME="$work/home/config"
unset CANDELUX_PROGRAMS || true

for file in bin/candelux bin/candelux-cli lib/candelux/programs/ra_bmp lib/candelux/programs/evalglare \
    lib/candelux/camera/libEDSDK.so share/applications/candelux.desktop share/mime/packages/candelux.xml \
    share/icons/hicolor/48x48/apps/candelux.png share/man/man1/candelux-cli.1.gz share/man/man1/candelux.1.gz share/doc/candelux/copyright \
    share/bash-completion/completions/candelux-cli share/candelux/samples/chart.hdr; do
    [ -e "$prefix/$file" ] || fail "$file is not installed"
done
if grep -rl "$build" "$prefix/bin" "$prefix/lib" >/dev/null 2>&1; then fail "an installed file names the build folder"; fi

# The camera library is loaded by name through the executables' run path.
for program in candelux candelux-cli; do
    runpath=$(readelf -d "$prefix/bin/$program" | sed -n 's/.*R[UN]*PATH.*\[\(.*\)\]/\1/p')
    [ -e "$(echo "$runpath" | sed "s|\$ORIGIN|$prefix/bin|")/libEDSDK.so" ] ||
        fail "$program's run path ($runpath) does not lead to the camera library"
done

"$prefix/bin/candelux-cli" --version | grep -q '^candelux-cli [0-9]' || fail "candelux-cli --version"
"$prefix/bin/candelux" --version | grep -q '^candelux [0-9]' || fail "candelux --version"

# The statistics run rcalc and histo from the installed programs.
cp "$prefix/share/candelux/samples/chart.hdr" picture.hdr
"$prefix/bin/candelux-cli" stats picture.hdr --rect 0,0,119,119 --json > stats.json || fail "candelux-cli stats"
grep -q '"count":[1-9]' stats.json || fail "unexpected statistics: $(cat stats.json)"

# The window opens the picture offscreen: the working copy and its display
# copy (made by the installed ra_bmp) appear in the cache folder.
QT_QPA_PLATFORM=offscreen timeout 20 "$prefix/bin/candelux" picture.hdr >/dev/null 2>&1 &
window=$!
i=0
while [ $i -lt 150 ] && ! ls "$XDG_CACHE_HOME"/candelux/*.bmp >/dev/null 2>&1; do
    sleep 0.1
    i=$((i + 1))
done
kill "$window" 2>/dev/null || true
wait "$window" 2>/dev/null || true
ls "$XDG_CACHE_HOME"/candelux/*.bmp >/dev/null 2>&1 || fail "the installed candelux made no display copy: $(ls -R "$XDG_CACHE_HOME" 2>&1)"
echo "installed_run: passed"
