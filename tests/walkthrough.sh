#!/usr/bin/env bash
# Walks the desktop program as a user would, under a private X server:
# New on a header folder, select, describe, Save, Open, Export. Writes a
# screenshot after each step into OUT (default: /tmp/vorlix-walk) and fails
# when a step's window does not appear or the export is missing.
#   tests/walkthrough.sh [path/to/vorlix] [header folder]
set -euo pipefail

PROGRAM=${1:-build/test/src/vorlix}
HEADERS=${2:-/usr/include/x86_64-linux-gnu/qt6/QtCore}
OUT=${OUT:-/tmp/vorlix-walk}
WORK=$(mktemp -d)
DB_DIR="$WORK/gui-walk"
mkdir -p "$OUT" "$DB_DIR" "$WORK/html" "$WORK/config"
rm -f "$OUT"/*.png

export DISPLAY=:${WALK_DISPLAY:-97}
export XDG_CONFIG_HOME="$WORK/config" LANG=C
unset QT_QPA_PLATFORM
Xvfb "$DISPLAY" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
XVFB=$!
trap 'kill "$APP" 2>/dev/null || true; kill "$XVFB" 2>/dev/null || true; rm -rf "$WORK"' EXIT
sleep 1

shot() { sleep "${2:-0.7}"; import -window root "$OUT/$1.png"; echo "  $1.png"; }
# Waits for a window and gives it the keyboard (there is no window manager).
await() {
    local id
    id=$(xdotool search --sync --onlyvisible --name "$1" | tail -1)
    xdotool windowfocus --sync "$id"
    sleep 0.5
}
keys() { xdotool key --delay 80 "$@"; }
type_text() { xdotool type --delay 15 "$1"; }

"$PROGRAM" &
APP=$!
await '^Vorlix'
xdotool windowsize "$(xdotool search --onlyvisible --name '^Vorlix' | tail -1)" 1280 780
shot 01-start

echo "New on $HEADERS"
keys ctrl+n
await 'Ordner suchen'
keys alt+o ctrl+a
type_text "$HEADERS"
shot 02-folder-browser
keys Return
await 'Ordner suchen' # the prompt for a further folder
keys Escape
await 'Vorlix - '
shot 03-new-document 2

echo "Select a class and describe it"
keys Down Down Right Down
shot 04-selected
keys shift+F6
type_text "Beschreibung aus dem Rundgang"
shot 05-described

echo "Save into $DB_DIR"
keys ctrl+s
await 'Speichern unter'
shot 06-save-dialog
type_text "$DB_DIR/qt"
keys Return
await 'Datentabelle'
shot 07-table-dialog
keys Return
sleep 3
shot 08-saved
test -f "$DB_DIR/qt.db"

echo "Open it again"
await '^Vorlix'
keys ctrl+o
await 'ffnen'
type_text "$DB_DIR/qt.db"
shot 09-open-dialog
keys Return
await 'Datentabelle'
keys Return
sleep 3
shot 10-opened

echo "Export"
await '^Vorlix'
keys alt+d
sleep 0.5
for _ in 1 2 3 4 5 6; do keys Down; done
shot 11-file-menu
keys Return
sleep 1
await '^Vorlix$' # the question before the export
shot 12-export-question
keys Return
await 'Ordner suchen'
keys alt+o ctrl+a
type_text "$WORK/html"
keys Return
sleep 4
shot 13-exported
test -f "$WORK/html/index.html"
grep -ao '<title>[^<]*</title>' "$WORK/html/index.html" | head -1

echo "done: screenshots in $OUT"
