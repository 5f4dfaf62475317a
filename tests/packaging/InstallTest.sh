#!/bin/sh
# Installs the game into a temporary prefix and starts it through its launcher under the display
# (which must be its own: no other game window may take the keys), with the player's folders pointed
# at temporary ones, as a player would: the setup window worked with a real key press and the main
# menu's Exit with the pointer, or the game ended by a signal. Checks that the installed game keeps
# "save", "adlog.txt" and "adsettings.ini" in the player's folders and never writes into its program
# folder, even as root; that a relative XDG_DATA_HOME is ignored; that a data folder the player
# cannot write into does not stop the launch; and that a data folder that cannot be made is said in
# a message box.
# Usage: InstallTest.sh <build folder>
set -u
build=$1
if [ -z "${DISPLAY:-}" ] || ! command -v xdotool >/dev/null 2>&1 || ! command -v xwininfo >/dev/null 2>&1; then
    echo "[  SKIPPED ] no display, xdotool or xwininfo"
    exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "install failed"; exit 1; }
for f in bin/vimbo2 lib/vimbo2/vimbo2 lib/vimbo2/admessagebox lib/vimbo2/installed lib/vimbo2/SoftwareAdPlugin.so \
    lib/vimbo2/OpenGLAdPlugin.so lib/vimbo2/music/muz0.mp3 share/applications/vimbo2.desktop \
    share/icons/hicolor/48x48/apps/vimbo2.png; do
    [ -e "$prefix/$f" ] || { echo "not installed: $f"; exit 1; }
done
program=$prefix/lib/vimbo2
before=$(ls -A "$program")

export HOME=$work/home XDG_DATA_HOME=$work/data XDG_CONFIG_HOME=$work/config SDL_AUDIODRIVER=dummy
mkdir -p "$HOME"
status=0
fail() { echo "$1"; status=1; }

# Polls up to $1 tenths of a second for "$2" (a command) to print something, and prints it.
poll() {
    i=0
    while [ "$i" -lt "$1" ]; do
        found=$($2)
        if [ -n "$found" ]; then echo "$found"; return 0; fi
        sleep 0.1
        i=$((i + 1))
    done
    return 1
}
# The shown game windows of this run (the setup window, then the game's): another game may be open on
# the same display, and the game's own window exists hidden while the setup window is up.
game_window() { xdotool search --onlyvisible --pid "$game" --name "vimbo 2" 2>/dev/null | tail -n 1; }
# A message box's window carries no class, unlike the game's.
box_window() { xwininfo -root -tree | sed -n 's/^ *\(0x[0-9a-f]*\) "vimbo 2": ().*/\1/p' | head -n 1; }
# Presses a key on a window (giving it the keyboard: there is no window manager) until the window
# goes; a key sent before the window takes keys is lost.
press_until_gone() { # window key
    i=0
    while [ "$i" -lt 60 ] && xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; do
        xdotool windowfocus "$1" 2>/dev/null
        xdotool key --window "$1" "$2"
        sleep 0.5
        i=$((i + 1))
    done
}
# Waits up to 30 s for the game to end; its exit status, or 255 when it did not end.
wait_for_end() {
    i=0
    while kill -0 "$game" 2>/dev/null && [ "$i" -lt 300 ]; do sleep 0.1; i=$((i + 1)); done
    if kill -0 "$game" 2>/dev/null; then kill -9 "$game"; wait "$game"; return 255; fi
    wait "$game"
}
# Answers the setup window and waits for the game's window; false when either did not come.
play_past_setup() {
    dialog=$(poll 300 game_window) || return 1
    press_until_gone "$dialog" Return
    poll 300 game_window >/dev/null
}

# 1. The usual start, as root too: the program folder stays writable, and must not be written.
"$prefix/bin/vimbo2" >"$work/out.txt" 2>&1 &
game=$!
if play_past_setup; then
    main=$(game_window)
    xdotool windowfocus "$main" 2>/dev/null
    # The pointer rests on the main menu's Exit, centred 144 px below the middle of the picture,
    # which fills the window; the menu ignores clicks until its fade-in ends, which a loaded machine
    # reaches late, so the click is repeated until the game has closed. Nothing else lies under the
    # pointer.
    eval "$(xdotool getwindowgeometry --shell "$main")"
    xdotool mousemove --window "$main" $((WIDTH / 2)) $((HEIGHT / 2 + 154))
    i=0
    while kill -0 "$game" 2>/dev/null && [ "$i" -lt 60 ]; do
        xdotool click --window "$main" 1 2>/dev/null
        sleep 0.5
        i=$((i + 1))
    done
else
    fail "no setup or game window"
fi
wait_for_end
for f in "$XDG_DATA_HOME/vimbo2/save" "$XDG_DATA_HOME/vimbo2/adlog.txt" "$XDG_CONFIG_HOME/vimbo2/adsettings.ini"; do
    [ -f "$f" ] || fail "missing $f"
done
[ -L "$XDG_DATA_HOME/vimbo2/music" ] || fail "no link to the music"
grep -q "^plugin=$program/" "$XDG_CONFIG_HOME/vimbo2/adsettings.ini" || fail "no plugin choice kept"

# 2. A relative XDG_DATA_HOME is ignored: the files go to ~/.local/share, not below the launch folder.
mkdir -p "$work/launch"
(cd "$work/launch" && XDG_DATA_HOME=relative exec "$prefix/bin/vimbo2") >"$work/out2.txt" 2>&1 &
game=$!
play_past_setup || fail "no game window with a relative XDG_DATA_HOME"
kill -TERM "$game"
wait_for_end || fail "the game did not end cleanly on SIGTERM"
[ -f "$HOME/.local/share/vimbo2/save" ] || fail "no save in ~/.local/share/vimbo2"
[ -z "$(ls -A "$work/launch")" ] || fail "written below the launch folder: $(ls -A "$work/launch")"

# 3. A data folder the player cannot write into, with the music link in place, still starts the game.
cp "$XDG_DATA_HOME/vimbo2/save" "$work/save.before"
if [ "$(id -u)" = 0 ]; then
    # Root writes through any file mode: the data folder becomes a read-only mount instead.
    data=$XDG_DATA_HOME/vimbo2
    unshare --mount sh -c "mount --bind '$data' '$data' && mount -o remount,bind,ro '$data' \
        && exec '$prefix/bin/vimbo2'" >"$work/out3.txt" 2>&1 &
else
    chmod a-w "$XDG_DATA_HOME/vimbo2"
    "$prefix/bin/vimbo2" >"$work/out3.txt" 2>&1 &
fi
game=$!
play_past_setup || fail "a read-only data folder stopped the launch: $(cat "$work/out3.txt")"
kill -TERM "$game"
wait_for_end || fail "the game did not end cleanly with a read-only data folder"
chmod u+w "$XDG_DATA_HOME/vimbo2"
cmp -s "$XDG_DATA_HOME/vimbo2/save" "$work/save.before" || fail "the read-only data folder's save changed"

# 4. A data folder that cannot be made is said in a message box, and the game goes on without it.
: >"$work/blocker"
(cd "$work/launch" && XDG_DATA_HOME=$work/blocker exec "$prefix/bin/vimbo2") >"$work/out4.txt" 2>&1 &
game=$!
if box=$(poll 300 box_window); then
    press_until_gone "$box" Return
    play_past_setup || fail "the game did not go on after the box"
else
    fail "no message box for a data folder that cannot be made"
fi
kill -TERM "$game"
wait_for_end
[ -z "$(ls -A "$work/launch")" ] || fail "written below the launch folder: $(ls -A "$work/launch")"

[ "$(ls -A "$program")" = "$before" ] || fail "written into the program folder: $(ls -A "$program")"
[ "$status" = 0 ] || cat "$work"/out*.txt
exit "$status"
