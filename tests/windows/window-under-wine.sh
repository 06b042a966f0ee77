#!/bin/bash
# The Win32 window under wine on a virtual X server with a window manager, driven by xdotool and
# wmctrl; results are read from the files it writes and the window's properties, not from pixels
# on the screen.
#
#   window-under-wine.sh BIN WORK
#
# BIN holds brennic.exe and brennic-cli.exe; WORK is a scratch folder (its window.png is a picture
# of the first start, work-left.png one of the list of what is left, window-144dpi.png the first
# start at 144 DPI). WINEPREFIX must name an initialised prefix.
set -u

bin=$(cd "$1" && pwd)
mkdir -p "$2" && work=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/checks.sh"
examples=$(cd "$here/../../examples" && pwd)
caption='.::GTA1 Mission to GTA2 Mission::.'

chattr -i "$work/Program Files/BRENNIC" 2>/dev/null # left by a test that was stopped
rm -rf "${work:?}"/*

Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
openbox >"$work/openbox.log" 2>&1 &
wm=$!
# wine's server for the prefix may have started without a display (wineboot, the console tests),
# and its desktop would then have none: the window's programs start a server of their own.
wineserver -k 2>/dev/null
# The prefix's DPI, when a check has changed it: put back, as later tests expect 96.
dpi_changed=""
set_dpi() {
    wineserver -k 2>/dev/null
    if [ -n "$1" ]; then
        wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f
    else
        wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f
    fi >/dev/null 2>&1
    wineserver -k 2>/dev/null
}
cleanup() {
    chattr -i "$work/Program Files/BRENNIC" 2>/dev/null
    [ -n "$dpi_changed" ] && set_dpi ""
    wineserver -k 2>/dev/null
    kill "$wm" "$xvfb" 2>/dev/null
    wait "$wm" "$xvfb" 2>/dev/null
}
trap cleanup EXIT

# The id of a shown top-level window with exactly this title, if there is one.
find_window() {
    xdotool search --onlyvisible --name "^$(printf '%s' "$1" | sed 's/[].[^$*\\]/\\&/g')\$" \
        2>/dev/null | head -n 1 | grep .
}

# Polls for that window; its id on standard output. wine's first window in a new prefix can take
# half a minute (fonts, the X driver).
await_window() {
    for _ in $(seq 600); do
        find_window "$1" && return 0
        sleep 0.1
    done
    return 1
}

# Starts brennic.exe from its own folder (its settings file lives beside it).
start() {
    mkdir -p "$1" && cp "$bin/brennic.exe" "$1/"
    (cd "$1" && exec timeout 120 wine brennic.exe >"$1/wine.log" 2>&1) &
    program=$!
}

# A close request as the close box makes it, then waits for the process to end.
close_and_wait() {
    wmctrl -c "$caption" || return 1
    for _ in $(seq 200); do
        kill -0 "$program" 2>/dev/null || { wait "$program"; return 0; }
        sleep 0.1
    done
    return 1
}

# Keys go to the active window: activates the window with this title, waits until the window
# manager says it is active (a key pressed before is lost), then presses the keys (separated by
# blanks) one after another.
press() {
    local id
    id=$(await_window "$1") || return 1
    for _ in $(seq 50); do
        wmctrl -a "$1" 2>/dev/null
        [ "$(xdotool getactivewindow 2>/dev/null)" = "$id" ] && break
        sleep 0.1
    done
    # shellcheck disable=SC2086 # one argument a key
    xdotool key --clearmodifiers --delay 40 $2
}

# Presses the keys at the window until the command holds: a press that wine drops while a new
# prefix settles is repeated, up to ten times, five seconds apart.
press_until() {
    local title=$1 keys=$2
    shift 2
    for _ in $(seq 10); do
        press "$title" "$keys"
        for _ in $(seq 50); do
            "$@" >/dev/null && return 0
            sleep 0.1
        done
    done
    return 1
}

# Waits until no shown window has this title.
await_gone() {
    for _ in $(seq 100); do
        find_window "$1" >/dev/null || return 0
        sleep 0.1
    done
    return 1
}

await_file() {
    for _ in $(seq 100); do
        [ -e "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Answers a modal dialog with these keys once it shows, and waits until it has gone.
answer() {
    await_window "$1" >/dev/null && press "$1" "$2" && await_gone "$1"
}

# The width of the shown window with this title, frame included.
window_width() {
    xwininfo -id "$(await_window "$1")" | sed -n 's/^ *Width: *//p'
}

same_file() { cmp "$1" "$2"; }

# wine hands the window class's icon to the window manager as _NET_WM_ICON (ARGB numbers): the
# program's own icon has the arrow's green, 0xff80ff80, where the stock icon has none.
has_program_icon() {
    xprop -id "$1" -notype 32c _NET_WM_ICON | tr -d ' ' | tr ',' '\n' | grep -qx 4286644096
}

# First start: no settings file; the close writes all 40 keys with the first-start values.
start "$work/first"
window=$(await_window "$caption")
check "first start shows the window" test -n "$window"
sleep 1
check "the window shows the program's icon" has_program_icon "$window"
import -frame -window "$window" "$work/window.png" 2>/dev/null
width96=$(window_width "$caption")
check "first start writes no settings file" test ! -e "$work/first/brennic.INI"
check "closing saves the first-start settings" close_and_wait
check "the settings file holds the 40 keys" same_file "$here/expected/first-start.INI" \
    "$work/first/brennic.INI"

# A stored Door=3: the load error box, and the other keys survive the next close.
mkdir -p "$work/door"
printf '[BRENNIC Settings]\r\nPhone=1\r\nDoor=3\r\nXoffset=7\r\n' >"$work/door/brennic.INI"
start "$work/door"
box=$(await_window "D'oh! Error during load")
check "Door=3 shows the load error box" test -n "$box"
press "D'oh! Error during load" Return
window=$(await_window "$caption")
check "the window opens after the box" test -n "$window"
check "closing saves" close_and_wait
check "Phone and Xoffset kept, Door unticked" same_file "$here/expected/door-3.INI" \
    "$work/door/brennic.INI"

# A settings file with all 40 keys in the order the window writes them: the two folders as
# given (already in the file's encoding), every box ticked, the offsets 1 0.5 -2.
write_settings() { # FILE MISSION-FOLDER OUTPUT-FOLDER
    {
        printf '[BRENNIC Settings]\r\n'
        printf 'GTA1iniFile=%s\r\nOutputFolder=%s\r\n' "$2" "$3"
        for key in Phone Brief FutureCar FutureObject Door Powerup Park Dummy Target Trigger \
            Parked Hells Arrow Arrowcar Ped Spray Bomb Steal FuturePed AnswerPhone MPhone \
            Destroy Locate Goto IsGoalDead INCHEADS MISSION_END End CheckCar MidPointMulti \
            DoorArrow FutureCarArrow PedHunt Unknown PowerupRespawn; do
            printf '%s=1\r\n' "$key"
        done
        printf 'Xoffset=1\r\nYoffset=0.5\r\nZoffset=-2\r\n'
    } >"$1"
}

# A conversion started with Alt+C writes what brennic-cli writes with the same settings.
run="$work/convert"
mkdir -p "$run" "$run/cli"
cp -R "$examples/gtadata" "$run/gtadata"
cp -R "$examples/output" "$run/output"
cp -R "$examples/output" "$run/cli/output"
write_settings "$run/brennic.INI" "$(winepath -w "$run/gtadata")\\" "$(winepath -w "$run/output")\\"
start "$run"
press_until "$caption" alt+c test -e "$run/output/miami_Last Orders_3.mis"
sleep 1
check "closing after the conversion" close_and_wait
(cd "$run/cli" && wine "$bin/brennic-cli.exe" --settings ../brennic.INI --mission-dir ../gtadata \
    --output-dir output >status.txt 2>stderr.txt)
scripts=0
for script in "$run/cli/output"/*.mis; do
    scripts=$((scripts + 1))
    check "Alt+C wrote $(basename "$script") as brennic-cli does" same_file "$script" \
        "$run/output/$(basename "$script")"
done
check "brennic-cli wrote three scripts" test "$scripts" -eq 3
check "the window made the uk folder" test -d "$run/output/uk"

# A run that fails: one critical box, and the window goes on.
broken="$work/broken"
mkdir -p "$broken/gtadata" "$broken/output"
printf '5 1 (1,1,1) DUMMY\r\n' >"$broken/gtadata/mission.ini" # no section header
printf '[BRENNIC Settings]\r\nGTA1iniFile=%s\\\r\nOutputFolder=%s\\\r\nDummy=1\r\n' \
    "$(winepath -w "$broken/gtadata")" "$(winepath -w "$broken/output")" >"$broken/brennic.INI"
start "$broken"
check "a failed run shows the conversion error box" \
    press_until "$caption" alt+c find_window "D'oh! Error during conversion"
press "D'oh! Error during conversion" Return
check "the window closes after the failed run" close_and_wait

# Folders named in Polish, Cyrillic and Japanese, which the code page cannot hold, with a
# look-alike Lukasz beside Łukasz: the settings file names them in UTF-8 behind "utf8:", the
# window converts into exactly those folders what the Linux build writes, and the next close
# saves the file as it was.
names="$work/names"
mkdir -p "$names/Łukasz/Жук 日本" "$names/Lukasz/gtadata" "$names/Lukasz/Жук 日本"
cp -R "$examples/gtadata" "$names/Łukasz/gtadata"
cp "$examples/output/e.txt" "$names/Łukasz/Жук 日本/"
printf '[1]\r\nWrong, 1, nyc.cmp\r\n\r\n\r\n' >"$names/Lukasz/gtadata/mission.ini"
write_settings "$names/brennic.INI" "utf8:$(winepath -w "$names/Łukasz/gtadata")\\" \
    "utf8:$(winepath -w "$names/Łukasz/Жук 日本")\\"
cp "$names/brennic.INI" "$work/names.INI"
start "$names"
press_until "$caption" alt+c test -e "$names/Łukasz/Жук 日本/miami_Last Orders_3.mis"
sleep 1
import -frame -window "$(find_window "$caption")" "$work/names.png" 2>/dev/null
check "closing after converting into the named folders" close_and_wait
expected="$here/../cases/examples-all-switches/expected/output"
for script in "$expected"/*.mis; do
    check "$(basename "$script") is the Linux build's, in the folder named" same_file "$script" \
        "$names/Łukasz/Жук 日本/$(basename "$script")"
done
check "nothing went to the look-alike folder" test -z "$(ls -A "$names/Lukasz/Жук 日本")"
check "the settings file keeps the names as they were" same_file "$work/names.INI" \
    "$names/brennic.INI"

# Logging off during a conversion: the run stops, leaving the script it was replacing as it was,
# and the settings are saved as a close saves them.
ending="$work/ending"
mkdir -p "$ending/gtadata" "$ending/Łukasz"
{
    printf '[1]\r\nLong, 1, nyc.cmp\r\n\r\n\r\n'
    seq 1 2000000 | sed 's/$/ UNKNOWN_WORD 1 2 3\r/'
} >"$ending/gtadata/mission.ini"
printf 'my own mission\r\n' >"$ending/Łukasz/nyc_Long_1.mis"
write_settings "$ending/brennic.INI" "$(winepath -w "$ending/gtadata")\\" \
    "utf8:$(winepath -w "$ending/Łukasz")\\"
cp "$ending/brennic.INI" "$work/ending.INI"
start "$ending"
aside() { ls -A "$ending/Łukasz" | grep -q '^\.nyc_Long_1\.mis\.'; }
check "the conversion began to replace the script" press_until "$caption" alt+c aside
# The run takes less than a second, less than wineboot takes to start: it is held (as a busy
# machine would hold it) until the session's end has been asked of the window.
windows_process=$(tr -d " " </proc/"$program"/task/"$program"/children) # timeout's child
kill -STOP "$windows_process"
rm "$ending/brennic.INI" # the session's end writes it anew
wineboot --end-session &
session=$!
sleep 2
kill -CONT "$windows_process"
wait "$session"
# A loaded machine can take many seconds to let the window answer; a saved file ends the wait.
for _ in $(seq 300); do [ -e "$ending/brennic.INI" ] && break; sleep 0.1; done
kill -9 "$windows_process" 2>/dev/null # what Windows does once the session has ended
wait "$program" 2>/dev/null
check "the session's end saved the settings" same_file "$work/ending.INI" "$ending/brennic.INI"
check "the script being replaced is as it was" grep -qx $'my own mission\r' "$ending/Łukasz/nyc_Long_1.mis"
# A session may end the process before the stopped run has removed what it wrote aside; the next
# run into the folder removes what such a run left.
mkdir -p "$ending/short"
printf '[1]\r\nShort, 1, nyc.cmp\r\n\r\n\r\n' >"$ending/short/mission.ini"
(cd "$ending" && wine "$bin/brennic-cli.exe" --mission-dir short --output-dir Łukasz \
    >/dev/null 2>&1)
check "nothing written aside is left after the next run" \
    test -z "$(ls -A "$ending/Łukasz" | grep '^\.')"

# A program folder that cannot be written (Program Files): the settings go to the user's
# application data. root writes anywhere, so the folder is made immutable, where that is allowed.
appdata=$(winepath -u "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")
installed="$work/Program Files/BRENNIC"
mkdir -p "$installed" && cp "$bin/brennic.exe" "$installed/"
rm -f "$appdata/BRENNIC/brennic.INI"
if chattr +i "$installed" 2>/dev/null; then
    (cd "$installed" && exec timeout 120 wine brennic.exe >"$work/installed.log" 2>&1) &
    program=$!
    await_window "$caption" >/dev/null
    check "closing the installed program" close_and_wait
    chattr -i "$installed"
    check "its settings are in the user's application data" same_file \
        "$here/expected/first-start.INI" "$appdata/BRENNIC/brennic.INI"
    check "and not beside it" test ! -e "$installed/brennic.INI"
    rm -f "$appdata/BRENNIC/brennic.INI"
else
    echo "skipped: the settings of a program that cannot write beside itself (no chattr +i here)"
fi
# Waits for the window and a moment more: the focus comes to its first box after it shows, and a
# key before would go elsewhere, not to be repeated as a whole walk cannot be.
settle() {
    await_window "$caption" >/dev/null && sleep 1
}

# Settings for a start whose folders hold a mission with nothing left to do; every box unticked.
clean_start() {
    mkdir -p "$1/gtadata" "$1/output"
    printf '[1]\r\nClean, 1, nyc.cmp\r\n\r\n\r\n' >"$1/gtadata/mission.ini"
    printf '[BRENNIC Settings]\r\nGTA1iniFile=%s\\\r\nOutputFolder=%s\\\r\n' \
        "$(winepath -w "$1/gtadata" 2>/dev/null)" "$(winepath -w "$1/output" 2>/dev/null)" >"$1/brennic.INI"
}

# The keyboard, as a user walks it from the first control: Space on each check box, button and
# folder picture (Enter on the second), a digit in each offset box, a letter in the status box.
# What each key did shows in the dialogs it opened, in the run Convert made, and in the settings
# the close writes; a control left out or visited twice would put every later key elsewhere.
walk="$work/tab-walk"
clean_start "$walk"
start "$walk"
settle
press "$caption" "Tab space"
check "Tab reaches the mission folder's picture, Space opens the folder question" \
    answer "Browse for Folder" Escape
press "$caption" "Tab Tab Return"
check "Tab reaches the output folder's picture, Enter opens the folder question" \
    answer "Browse for Folder" Escape
boxes() { for _ in $(seq "$1"); do printf 'Tab space '; done; }
press "$caption" "$(boxes 20)Tab s $(boxes 14)Tab 7 Tab 8 Tab 9 Tab space"
check "Tab leaves the status box for the other boxes, the offsets and Convert" \
    await_file "$walk/output/nyc_Clean_1.mis"
press "$caption" "Tab space"
check "Tab reaches the list of what is left after Convert" answer "What is left to do" Escape
press "$caption" "Tab space Tab a"
check "closing after the walk" close_and_wait
check "Tab walked every control and came back to the first" same_file \
    "$here/expected/tab-walk.INI" <(grep -v '^OutputFolder=' "$walk/brennic.INI")

# Shift+Tab the other way, from the mission folder box before any run: Midpointmulti, Convert
# (the list's button takes no focus yet), the offsets, back through the Debug and Mission
# objectives boxes and the status box to Arrow.
back="$work/shift-tab"
clean_start "$back"
start "$back"
settle
back_keys="shift+Tab space shift+Tab shift+Tab 5"
for _ in $(seq 17); do back_keys="$back_keys shift+Tab"; done
press "$caption" "$back_keys shift+Tab space"
check "closing after Shift+Tab" close_and_wait
check "Shift+Tab ticked two boxes" test "$(grep -c '=1' "$back/brennic.INI")" -eq 2
check "Shift+Tab walked back through the status box to Arrow" \
    grep -q $'^Arrow=1\r$' "$back/brennic.INI"
check "Shift+Tab ticked Midpointmulti and typed the Z offset" \
    test "$(grep -c -e $'^MidPointMulti=1\r$' -e $'^Zoffset=5\r$' "$back/brennic.INI")" -eq 2

# The list of what is left: after a conversion with items, as --report writes it (the golden
# case's report, saved from the list's window), and after a clean one.
left="$work/work-left"
mkdir -p "$left/gtadata" "$left/output"
cp "$here/../cases/report-items/input/MISSION.INI" "$left/gtadata/"
cp "$here/../cases/report-items/input/e.txt" "$left/output/"
{
    printf '[BRENNIC Settings]\r\n'
    printf 'GTA1iniFile=%s\\\r\n' "$(winepath -w "$left/gtadata" 2>/dev/null)"
    printf 'OutputFolder=%s\\\r\n' "$(winepath -w "$left/output" 2>/dev/null)"
    for key in Phone Brief FutureCar FutureObject Door Powerup Park Target Trigger Parked Hells \
        Arrow Arrowcar Ped Spray Bomb Steal FuturePed AnswerPhone MPhone Destroy Locate Goto \
        IsGoalDead INCHEADS MISSION_END End CheckCar MidPointMulti DoorArrow FutureCarArrow \
        PedHunt; do
        printf '%s=1\r\n' "$key"
    done
    printf 'Xoffset=0\r\nYoffset=0\r\nZoffset=0\r\n'
} >"$left/brennic.INI"
# Saves the list from its window (Alt+S) as this file, typed over the name the dialog offers.
save_list() {
    press "What is left to do" alt+s && await_window "Save what is left to do" >/dev/null &&
        xdotool type --delay 20 "$(winepath -w "$1" 2>/dev/null)" &&
        answer "Save what is left to do" Return && await_file "$1"
}
start "$left"
press_until "$caption" alt+c test -e "$left/output/nyc_Clean_2.mis"
press "$caption" alt+w
list=$(await_window "What is left to do")
check "Alt+W opens the list of what is left" test -n "$list"
sleep 1
import -frame -window "$list" "$work/work-left.png" 2>/dev/null
check "the list of a run with items is what --report writes" save_list "$left/items.txt"
check "the saved list has the report's bytes" same_file \
    "$here/../cases/report-items/expected/report.txt" "$left/items.txt"
printf '[1]\r\nClean, 1, nyc.cmp\r\n\r\n\r\n' >"$left/gtadata/MISSION.INI"
press_until "$caption" alt+c test -e "$left/output/nyc_Clean_1.mis"
check "the open list follows the next run" save_list "$left/clean.txt"
check "after a clean run the list says that nothing is left" \
    same_file <(printf 'nyc_Clean_1.mis\r\n  nothing left to do\r\n') "$left/clean.txt"
check "closing with the list open" close_and_wait

# At 144 DPI the layout and the system's font grow with the DPI, the check boxes with them.
dpi_changed=yes
set_dpi 144
start "$work/dpi"
window=$(await_window "$caption")
sleep 1
import -frame -window "$window" "$work/window-144dpi.png" 2>/dev/null
width144=$(window_width "$caption")
check "at 144 DPI the window is half as wide again ($width96 -> $width144 pixels)" \
    test "$((width144 * 10))" -ge "$((width96 * 14))" -a "$((width144 * 10))" -le "$((width96 * 17))"
check "closing at 144 DPI" close_and_wait
set_dpi ""
dpi_changed=""

summary
