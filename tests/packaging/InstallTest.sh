#!/bin/sh
# Installs the game into a temporary prefix whose program folder is then read-only, starts it
# through its launcher under the display with the player's folders pointed at temporary ones, works
# the setup window with a real key press and the main menu's Exit with the pointer (the display must
# be its own: no other game window may take them), and checks that "save",
# "adlog.txt" and "adsettings.ini" landed in the player's folders and nothing in the program's.
# Usage: InstallTest.sh <build folder>
set -u
build=$1
if [ -z "${DISPLAY:-}" ] || ! command -v xdotool >/dev/null 2>&1; then
    echo "[  SKIPPED ] no display or no xdotool"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "install failed"; exit 1; }
for f in bin/vimbo2 lib/vimbo2/vimbo2 lib/vimbo2/SoftwareAdPlugin.so lib/vimbo2/OpenGLAdPlugin.so \
    lib/vimbo2/music/muz0.mp3 share/applications/vimbo2.desktop share/icons/hicolor/48x48/apps/vimbo2.png; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done

export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"
program=$prefix/lib/vimbo2
if [ "$(id -u)" = 0 ]; then
    # Root writes through any file mode: the program folder becomes a read-only mount instead.
    unshare --mount sh -c "mount --bind '$program' '$program' && mount -o remount,bind,ro '$program' \
        && exec '$prefix/bin/vimbo2'" >"$work/out.txt" 2>&1 &
else
    chmod -R a-w "$program"
    "$prefix/bin/vimbo2" >"$work/out.txt" 2>&1 &
fi
game=$!

# Only this run's shown windows: another game may be open on the same display, and the game's own
# window already exists, hidden and with the same name, while the setup window is up.
window() { xdotool search --onlyvisible --pid "$game" --name "vimbo 2" 2>/dev/null | tail -n 1; }
waitfor() { # waits up to $1 tenths of a second for a shown window named "vimbo 2" other than $2
    i=0
    while [ "$i" -lt "$1" ]; do
        w=$(window)
        if [ -n "$w" ] && [ "$w" != "$2" ]; then echo "$w"; return 0; fi
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}
dialog=$(waitfor 300 "") || { echo "no setup window"; cat "$work/out.txt"; kill "$game"; exit 1; }
sleep 0.5
# The window takes the keyboard first, as a click on it would (there is no window manager).
xdotool windowfocus "$dialog" 2>/dev/null
xdotool key --window "$dialog" Return
main=$(waitfor 300 "$dialog") || { echo "no game window"; cat "$work/out.txt"; kill "$game"; exit 1; }
xdotool windowfocus "$main" 2>/dev/null
# The pointer rests on the main menu's Exit, centred 144 px below the middle of the picture, which
# fills the window; the menu ignores clicks until its fade-in ends, which a loaded machine reaches
# late, so the click is repeated until the game has closed. Nothing else lies under the pointer.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove --window "$main" $((WIDTH / 2)) $((HEIGHT / 2 + 154))
i=0
while kill -0 "$game" 2>/dev/null && [ "$i" -lt 60 ]; do
    xdotool click --window "$main" 1 2>/dev/null
    sleep 0.5
    i=$((i + 1))
done
if kill -0 "$game" 2>/dev/null; then echo "the game did not exit"; kill "$game"; exit 1; fi
chmod -R u+w "$program" 2>/dev/null

status=0
for f in "$XDG_DATA_HOME/vimbo2/save" "$XDG_DATA_HOME/vimbo2/adlog.txt" "$XDG_CONFIG_HOME/vimbo2/adsettings.ini"; do
    if [ -f "$f" ]; then echo "found $f"; else echo "missing $f"; status=1; fi
done
[ -L "$XDG_DATA_HOME/vimbo2/music" ] || { echo "no link to the music"; status=1; }
for f in save adlog.txt adsettings.ini; do
    [ ! -e "$program/$f" ] || { echo "written into the program folder: $f"; status=1; }
done
grep -q "^plugin=$program/" "$XDG_CONFIG_HOME/vimbo2/adsettings.ini" || { echo "no plugin choice kept"; status=1; }
[ "$status" = 0 ] || cat "$work/out.txt"
exit "$status"
