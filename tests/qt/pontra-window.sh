#!/usr/bin/env bash
# pontra as a person starts it, under a virtual X server: its window "Konwerter SHP<>Topolin"
# appears with a picture on each toolbar button, F1 on a machine without a browser shows a box,
# the settings dialog opens from the toolbar and closes with Escape, the information button drops
# its menu, whose "O programie" shows the about box before the settings dialog, and the program
# ends when the window's close button is pressed.
#   pontra-window.sh PONTRA [SHOTS_DIR]
# Each window is saved in SHOTS_DIR as a PNG. Exits 77 (a skip) without Xvfb, xdotool or python3.
set -euo pipefail

if [ "${1:-}" != --inside ]; then
    for tool in Xvfb xdotool python3; do
        if ! command -v "$tool" >/dev/null; then
            echo "skipped: $tool is missing"
            exit 77
        fi
    done
    work=$(mktemp -d)
    # The server picks a free display itself and tells its number, so parallel runs never race
    # for one; -noreset keeps it from resetting (and refusing clients for a moment) whenever its
    # last client leaves, as the display check and xdotool do. The screen is kept in a file in
    # the scratch folder (-fbdir), where the pictures are read.
    Xvfb -displayfd 3 -screen 0 800x600x24 -nolisten tcp -noreset -fbdir "$work" \
        3>"$work/display" 2>"$work/xvfb.txt" &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null; wait "$xvfb" 2>/dev/null; rm -rf "$work"' EXIT
    for _ in $(seq 1 100); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    export DISPLAY=":$(head -n 1 "$work/display" 2>/dev/null)"
    # The number comes before the server takes clients: wait until it answers.
    for _ in $(seq 1 100); do
        xdotool getdisplaygeometry >/dev/null 2>&1 && break
        sleep 0.1
    done
    xdotool getdisplaygeometry >/dev/null 2>&1 ||
        { echo "FAILED: Xvfb did not start"; cat "$work/xvfb.txt"; exit 1; }
    status=0
    KESTREL_REGISTRY_FILE="$work/registry.reg" \
        bash "$0" --inside "$1" "${2:-}" "$work" || status=$?
    exit "$status"
fi

pontra=$2
shots=$3
work=$4
[ -n "$shots" ] && mkdir -p "$shots"
unset KESTREL_UI QT_QPA_PLATFORM WAYLAND_DISPLAY

fail() {
    echo "FAILED: $*"
    echo "--- pontra's output:"
    cat "$work/out.txt" || true
    kill "$pid" 2>/dev/null || true
    exit 1
}

# The id of the visible window with this title; a box in the way (a message at start) is
# answered with Enter.
wait_for() {
    local id
    for attempt in $(seq 1 300); do
        id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
        if [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        if [ -n "${2:-}" ] && [ $((attempt % 15)) -eq 0 ]; then xdotool key Return || true; fi
        sleep 0.1
    done
    return 1
}

wait_gone() {
    for _ in $(seq 1 300); do
        xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0
        sleep 0.1
    done
    return 1
}

# Reads a rectangle of the screen: X Y WIDTH HEIGHT, then colours or png FILE (screen.py).
screen() {
    python3 "$(dirname "$0")/screen.py" "$work/Xvfb_screen0" "$@"
}

shot() {
    local WINDOW X Y WIDTH HEIGHT SCREEN
    if [ -n "$shots" ]; then
        sleep 0.3
        eval "$(xdotool getwindowgeometry --shell "$1")"
        screen "$X" "$Y" "$WIDTH" "$HEIGHT" png "$shots/$2.png"
    fi
}

# Each of the five toolbar buttons shows its picture: many colours in the middle of a button,
# where a button without one is a single colour.
pictures_shown() {
    local WINDOW X Y WIDTH HEIGHT SCREEN i
    eval "$(xdotool getwindowgeometry --shell "$main")"
    for i in 0 1 2 3 4; do
        [ "$(screen $((X + 67 * i + 8)) $((Y + 8)) 50 50 colours)" -ge 32 ] || return 1
    done
}

# Clicks the toolbar button with this index (0 to 4, 67 pixels apart).
press_button() {
    xdotool mousemove --window "$main" $((67 * $1 + 33)) 33 click 1
}

# The desktop's opener on a machine without a browser: it notes the page it was given and fails,
# as xdg-open does.
mkdir -p "$work/opener"
cat >"$work/opener/xdg-open" <<'OPENER'
#!/bin/sh
echo "$1" >"$(dirname "$0")/asked"
echo "xdg-open: no method available for opening '$1'" >&2
exit 3
OPENER
chmod +x "$work/opener/xdg-open"

PATH="$work/opener:$PATH" "$pontra" >"$work/out.txt" 2>&1 &
pid=$!

main=$(wait_for "Konwerter SHP<>Topolin" answer-boxes) || fail "the main window did not appear"
geometry=$(xdotool getwindowgeometry "$main")
echo "$geometry" | grep -q "Geometry: 347x70" || fail "the main window is not 347 x 70: $geometry"
for _ in $(seq 1 50); do
    pictures_shown && break
    sleep 0.1
done
pictures_shown || fail "the toolbar buttons show no pictures"
shot "$main" pontra-okno

# F1 hands the help page to the opener; when no browser takes it, a box says so.
xdotool windowfocus "$main" key F1
box=$(wait_for "Błąd") || fail "F1 without a browser showed no box"
grep -q '/Ravmo\.html$' "$work/opener/asked" || fail "F1 did not hand the help page to the opener"
xdotool windowfocus "$box" key Return
wait_gone "Błąd" || fail "Return did not close the box"

press_button 2
settings=$(wait_for "Konfiguracja konwersji") || fail "the settings dialog did not open"
shot "$settings" pontra-konfiguracja
xdotool windowfocus "$settings" key Escape
wait_gone "Konfiguracja konwersji" || fail "Escape did not close the settings dialog"

press_button 3
sleep 0.5
xdotool key Down Return
about=$(wait_for "O programie") || fail "the menu did not show the about box"
shot "$about" pontra-o-programie
xdotool windowfocus "$about" key Return
settings=$(wait_for "Konfiguracja konwersji") || fail "the settings dialog did not follow the menu"
xdotool windowfocus "$settings" key Escape
wait_gone "Konfiguracja konwersji" || fail "Escape did not close the settings dialog"

press_button 4
for _ in $(seq 1 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "the program did not end when its window was closed"
wait "$pid" || fail "the program ended with status $?"
echo "pontra showed its window and dialogs and ended"
