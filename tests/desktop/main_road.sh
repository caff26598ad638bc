#!/usr/bin/env bash
# The program on a real desktop: installs the built program into a folder of
# the build tree, starts its own Xvfb (a free display) with openbox, and
# drives it with xdotool as a person would, mostly from the keyboard: start,
# Quick Start, New SongBook, a listing added with the keyboard only,
# maximise, a search with no hit, the listing form closed with its close box
# after an edit, a delete, FastFind closed by one click while its title
# entry offers titles, the book closed, the program ended.
# Asserts on window titles (and on the screen where the book window's title
# bar is looked for); every screenshot is kept under <build>/desktop/shots.
#   main_road.sh <build folder>
# Every wait is bounded; the whole run takes well under a minute.
set -euo pipefail

build="$(cd "${1:?usage: main_road.sh <build folder>}" && pwd)"
source_dir="$(cd "$(dirname "$0")/../.." && pwd)"
work="$build/desktop"
shots="$work/shots"
rm -rf "$work"
mkdir -p "$shots" "$work/home"

export HOME="$work/home"
export XDG_CONFIG_HOME="$work/home/.config"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -p -m 700 "$XDG_RUNTIME_DIR"
unset QT_QPA_PLATFORM
export QT_QPA_PLATFORM=xcb

pids=()
program_died=0
cleanup() {
  local p
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

step=0
fail() {
  shot "failed"
  echo "FAIL: $*" >&2
  echo "screenshots: $shots" >&2
  exit 1
}
shot() {
  step=$((step + 1))
  last_shot="$(printf '%s/%02d-%s.png' "$shots" "$step" "$1")"
  import -window root "$last_shot" 2>/dev/null || true
}
# The program is still running (a click behind a dialog once killed it).
alive() {
  sleep 0.3
  kill -0 "$program" 2>/dev/null || { program_died=1; fail "the program died: $1"; }
}
# Presses of each button, a double-click and wheel turns at a point of the
# screen, as a user clicks a window that a dialog blocks.
poke() {
  xdotool mousemove "$1" "$2" click 1 sleep 0.1 click --repeat 2 --delay 60 1 sleep 0.1 click 3 sleep 0.1 \
    click 2 click 4 click 4 click 5
}
# The first pixel of a colour (#rrggbb) on the last screenshot: "x y".
find_colour() {
  convert "$last_shot" -depth 8 txt:- | grep -m1 -i "$1" | sed -n 's/^\([0-9]*\),\([0-9]*\):.*/\1 \2/p' || true
}
# A window's centre: "x y".
centre_of() {
  local X Y WIDTH HEIGHT WINDOW SCREEN
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
}
# Fails unless the window (a dialog) lies over the frame's middle: not at
# the screen's corner, as dialogs once opened.
expect_over_frame() {
  local wid="$1" what="$2" cx cy fx fy
  read -r cx cy <<<"$(centre_of "$wid")"
  read -r fx fy <<<"$(centre_of "$frame")"
  if ((cx < fx - 120 || cx > fx + 120 || cy < fy - 120 || cy > fy + 120)); then
    fail "$what opened at $cx,$cy, not over the frame's middle ($fx,$fy)"
  fi
}
# A visible window whose title matches, within the time given (seconds).
wait_window() {
  local pattern="$1" limit="${2:-15}"
  { timeout "$limit" xdotool search --sync --onlyvisible --name "$pattern" 2>/dev/null || true; } | head -1
}
wait_gone() {
  local pattern="$1" limit="${2:-10}" i
  for ((i = 0; i < limit * 10; i++)); do
    xdotool search --onlyvisible --name "$pattern" >/dev/null 2>&1 || return 0
    sleep 0.1
  done
  return 1
}
# Fails with the message unless the window comes within the time given.
expect_window() {
  [ -n "$(wait_window "$1" "${2:-10}")" ] || fail "$3"
}
# Presses the keys and fails with the message unless the window goes.
keys_close() {
  local pattern="$1" message="$2"
  shift 2
  xdotool key "$@"
  wait_gone "$pattern" || fail "$message"
}
frame_title() { xdotool getwindowname "$frame"; }
# Waits until the frame's title matches.
wait_frame_title() {
  local pattern="$1" i
  for ((i = 0; i < 100; i++)); do
    [[ "$(frame_title)" =~ $pattern ]] && return 0
    sleep 0.1
  done
  return 1
}
settle() { sleep "${1:-0.8}"; }

# The program, installed as the installer installs it.
CANTORVALE_HOME="$work/prefix" CV_BUILD_DIR="$build" bash "$source_dir/scripts/install.sh" >"$work/install.log" 2>&1 ||
  { cat "$work/install.log" >&2; exit 1; }

# The desktop: Xvfb picks a free display and tells it.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
for ((i = 0; i < 100; i++)); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || { cat "$work/xvfb.log" >&2; echo "FAIL: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -1 "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
settle 1

program_title='^Cantorvale V2 DedaDaru Virovir BASIC 2'
box_title='^Cantorvale V2 DedaDaru Virovir BASIC$'
(cd "$HOME" && exec "$work/prefix/cantorvale") >"$work/program.log" 2>&1 &
program=$!
pids+=("$program")

# Start: the frame with its Quick Start panel.
frame="$(wait_window "$program_title" 20)"
[ -n "$frame" ] || fail "the frame did not open"
settle 1
shot start
[[ "$(frame_title)" == "Cantorvale V2 DedaDaru Virovir BASIC 2.6.2232C" ]] || fail "frame title: $(frame_title)"

# Help with no browser or viewer to start says so, under the program's name.
if ! command -v xdg-open >/dev/null 2>&1; then
  xdotool windowactivate --sync "$frame" 2>/dev/null || true
  xdotool key alt+h
  settle 0.3
  xdotool key Return
  expect_window "$box_title" 10 "Help said nothing though no browser could be started"
  shot help-not-shown
  keys_close "$box_title" "the Help message stayed" Return
fi

# Quick Start > Start opens the SongBook File Explorer (an MDI child).
# Open with no book chosen asks for one; after that box the explorer still
# takes its mnemonics: Alt+N is New SongBook.
xdotool windowactivate --sync "$frame" 2>/dev/null || true
xdotool mousemove --window "$frame" 78 244 click 1
settle 1
shot explorer

# Behind the folder choice (a Qt file dialog) the explorer and the Quick
# Start panel of its thread take no click.
xdotool key alt+c
folder_dialog="$(wait_window '^Select New Folder' 10)"
[ -n "$folder_dialog" ] || fail "Change Folder showed no folder dialog"
settle
expect_over_frame "$folder_dialog" "the folder dialog"
eval "$(xdotool getwindowgeometry --shell "$frame" | sed 's/^/F/')"
poke $((FX + 60)) $((FY + 200))
poke $((FX + 78)) $((FY + 244))
alive "clicks behind the folder dialog"
shot behind-folder-dialog
[ -n "$(wait_window '^Select New Folder' 2)" ] || fail "the folder dialog went on a click behind it"
xdotool windowactivate --sync "$folder_dialog" 2>/dev/null || true
keys_close '^Select New Folder' "Escape did not close the folder dialog" Escape
settle
xdotool key alt+o
expect_window "$box_title" 10 "Open with no book chosen asked for none"
keys_close "$box_title" "the explorer's message stayed" Return
settle
xdotool key alt+n
settle 1.2
shot new-songbook
xdotool type --delay 20 "Friday Night"
xdotool key Return

# The empty book opens with Getting Started; Enter is its OK.
expect_window '^Getting Started$' 15 "Getting Started did not open after New SongBook"
settle
shot getting-started
keys_close '^Getting Started$' "Enter did not close Getting Started" Return
settle
shot book-open

# A listing with the keyboard only: Insert on the list (it has the focus),
# the fields by Tab, Enter for OK.
xdotool key Insert
expect_window '^Update SongBook Listing' 10 "Insert on the list did not open the listing form"
xdotool type --delay 20 "Danny Boy"
xdotool key Tab
xdotool type --delay 20 "Trad."
xdotool key Tab
xdotool type --delay 20 "3"
for _ in 1 2 3 4 5 6 7; do xdotool key Tab; done
xdotool type --delay 20 "ALT-1"
xdotool key Tab
xdotool type --delay 20 "MFG-003"
shot listing-typed
keys_close '^Update SongBook Listing' "Enter did not save the listing" Return
settle
screen="$shots/$(printf '%02d' $((step + 1)))-listing-added.png"
shot listing-added

# Maximise the book window: a double click on its title bar, found on the
# screen as the first blue row in the frame's middle column (right of the
# Quick Start panel).
column=$(convert "$screen" -crop 1x900+700+45 txt:- |
  sed -n 's/^0,\([0-9]*\): *(\([0-9]*\),\([0-9]*\),\([0-9]*\).*/\1 \2 \3 \4/p' |
  awk '$4 - $2 > 80 && !found { print $1; found = 1 }' || true)
[ -n "$column" ] || fail "no title bar of the book window on the screen"
xdotool mousemove 700 $((45 + column + 8)) click --repeat 2 --delay 80 1
wait_frame_title ' - \[.*Friday Night\.2bk\]$' || fail "the book window was not maximised: $(frame_title)"
settle
shot maximised

# A search with no hit: the box carries the program's name; afterwards the
# book is still there, maximised.
xdotool key shift+Tab shift+Tab shift+Tab
xdotool type --delay 20 "zzz"
xdotool key Tab Tab space
expect_window "$box_title" 10 "no 'Search Text Not Found' box under the program's name"
shot search-not-found
keys_close "$box_title" "the message box stayed" Return
settle
shot after-message
wait_frame_title ' - \[.*Friday Night\.2bk\]$' || fail "the book window vanished after the message: $(frame_title)"

# The form closed by its close box while the edit is still in the entry:
# the save question comes; Yes keeps the edit.
xdotool key ctrl+Return
expect_window '^Update SongBook Listing' 10 "Ctrl+Enter did not open the listing form"
xdotool key End
xdotool type --delay 20 " Two"
xdotool key alt+F4
expect_window '^Update Cancelled$' 10 "closing the edited form asked nothing"
shot close-question
keys_close '^Update SongBook Listing' "Yes did not close the form" alt+y
settle
shot edit-saved

# A listing whose title holds "&": the Quick Click menu shows it as it
# stands (looked at on the screenshot: "Rock & Roll", no letter underlined).
xdotool key Insert
expect_window '^Update SongBook Listing' 10 "Insert did not open the listing form"
# (The form starts from the highlighted listing: each field is typed over.)
xdotool key ctrl+a
xdotool type --delay 20 "Rock & Roll"
xdotool key Tab ctrl+a
xdotool type --delay 20 "Haley & Comets"
xdotool key Tab
xdotool key ctrl+a
xdotool type --delay 20 "4"
for _ in 1 2 3 4 5 6 7; do xdotool key Tab; done
xdotool key ctrl+a
xdotool type --delay 20 "ALT-2"
xdotool key Tab ctrl+a
xdotool type --delay 20 "MFG-004"
keys_close '^Update SongBook Listing' "Enter did not save the second listing" Return
settle
shot ampersand-added
# The highlighted row (white on 800040h) is the new listing.
read -r row_x row_y <<<"$(find_colour '#400080')"
[ -n "${row_x:-}" ] || fail "no highlighted row on the screen"
row_x=$((row_x + 30))
row_y=$((row_y + 4))
xdotool mousemove "$row_x" "$row_y" click 3
settle
shot quick-click-menu
xdotool key Escape
settle

# Delete Track/Disc from the menu: the question, then "Deletion
# Successful"; clicks on the list behind each box do nothing, Enter answers
# each, and afterwards the book window has the keyboard (Insert opens its
# form) and is still the one shown.
xdotool key alt+s d
question="$(wait_window "$box_title" 10)"
[ -n "$question" ] || fail "Delete Track/Disc asked nothing"
settle 0.5
[ "$(xdotool getactivewindow)" = "$question" ] || fail "the delete question opened without the keyboard"
expect_over_frame "$question" "the delete question"
shot delete-question
poke "$row_x" "$row_y"
alive "clicks behind the delete question"
shot behind-question
[ -n "$(wait_window "$box_title" 2)" ] || fail "the delete question went on a click behind it"
xdotool windowactivate --sync "$question" 2>/dev/null || true
xdotool key Return
done_box="$(wait_window '^Deletion Successful$' 10)"
[ -n "$done_box" ] || fail "Enter on the delete question did not delete (no Deletion Successful)"
settle
[ "$(xdotool getactivewindow)" = "$done_box" ] || fail "Deletion Successful opened without the keyboard"
expect_over_frame "$done_box" "Deletion Successful"
shot deletion-successful
poke "$row_x" "$row_y"
alive "clicks behind Deletion Successful"
[ -n "$(wait_window '^Deletion Successful$' 2)" ] || fail "Deletion Successful went on a click behind it"
xdotool windowactivate --sync "$done_box" 2>/dev/null || true
keys_close '^Deletion Successful$' "Enter did not close Deletion Successful" Return
settle
shot after-deletion
wait_frame_title ' - \[.*Friday Night\.2bk\]$' || fail "the book window is no longer shown after the delete: $(frame_title)"
xdotool key Insert
form="$(wait_window '^Update SongBook Listing' 10)"
[ -n "$form" ] || fail "after Deletion Successful the book window did not have the keyboard"
expect_over_frame "$form" "the listing form"

# Behind the listing form (a dialog of ours) the list takes no click.
poke "$row_x" "$row_y"
alive "clicks behind the listing form"
shot behind-form
[ -n "$(wait_window '^Update SongBook Listing' 2)" ] || fail "the listing form went on a click behind it"
xdotool windowactivate --sync "$form" 2>/dev/null || true
keys_close '^Update SongBook Listing' "Escape did not close the listing form" Escape
settle

# Delete the listing with the Delete key; OK confirms.
xdotool key Delete
confirm="$(wait_window '^Confirm Delete$' 10)"
[ -n "$confirm" ] || fail "Delete asked nothing"
poke "$row_x" "$row_y"
alive "clicks behind Confirm Delete"
[ -n "$(wait_window '^Confirm Delete$' 2)" ] || fail "Confirm Delete went on a click behind it"
xdotool windowactivate --sync "$confirm" 2>/dev/null || true
keys_close '^Confirm Delete$' "the delete question stayed" alt+o
settle
shot deleted

# FastFind from Add Disc(s): while the title entry offers the song base's
# titles in its drop list, one click on Cancel closes the drop list and the
# window at once (the click is not spent on the drop list alone). The title
# typed is a whole one of the demo song base: one it lacks sends the
# keyboard back to the entry, and a button losing it before the release
# is not clicked.
# FastFind is reached from the keyboard: a click in the tracks list (its
# right part, whatever the list widened to), then Tab past Edit Song Track
# and Space. Cancel is found from its place in the layout (dialog units,
# which scale with the window).
xdotool key alt+s a
add_discs="$(wait_window 'Add Mfr\. Disc\(s\) to SongBook$' 10)"
[ -n "$add_discs" ] || fail "SongBook > Add Disc(s) opened no add-discs window"
settle
eval "$(xdotool getwindowgeometry --shell "$add_discs" | sed 's/^/A/')"
# The tracks list spans 16 to 216 of 286 down, the status bar (about 22
# pixels) below, and ends a few units short of the window's right side.
xdotool mousemove --window "$add_discs" $((AWIDTH - 60)) $(((AHEIGHT - 22) * 120 / 286)) click 1
settle
xdotool key Tab Tab space
fast_find="$(wait_window ' - FastFind$' 10)"
[ -n "$fast_find" ] || fail "the FastFind button opened no FastFind window"
settle
xdotool type --delay 40 "Down by the Amber Penny"
settle
shot fastfind-titles-offered
eval "$(xdotool getwindowgeometry --shell "$fast_find" | sed 's/^/S/')"
# Cancel at 198,234 44x16 of 340x262.
xdotool mousemove --window "$fast_find" $((SWIDTH * 220 / 340)) $((SHEIGHT * 242 / 262)) click 1
wait_gone ' - FastFind$' 5 || fail "one click on Cancel while the titles were offered left FastFind open"
alive "a click outside the titles offered"
shot fastfind-closed
xdotool windowactivate --sync "$add_discs" 2>/dev/null || true
keys_close 'Add Mfr\. Disc\(s\) to SongBook$' "Alt+F4 did not close the add-discs window" alt+F4
settle

# Close the book: Escape is its Close SongBook button.
xdotool key Escape
wait_frame_title '^Cantorvale V2 DedaDaru Virovir BASIC 2\.6\.2232C$' || fail "the book did not close: $(frame_title)"
settle
shot book-closed

# End the program with the frame's close box.
xdotool windowactivate --sync "$frame" 2>/dev/null || true
xdotool key alt+F4
for ((i = 0; i < 100; i++)); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$program" 2>/dev/null && fail "the program did not end"
[ -f "$work/home/Friday Night.2bk" ] || fail "the new book's file is missing"
echo "desktop main road: 1 passed, 0 failed (screenshots in $shots)"
