#!/bin/bash
# brennic-cli.exe writing to a console. wine gives a program started on a terminal (here the one
# script(1) makes) a console, and shows what is written to it on that terminal in UTF-8: what
# the program wrote with WriteConsoleW arrives as the characters it meant.
#
#   console-under-wine.sh BIN WORK
#
# BIN holds brennic-cli.exe; WORK is a scratch folder. WINEPREFIX must name an initialised prefix.
set -u

bin=$(cd "$1" && pwd)
mkdir -p "$2" && work=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/checks.sh"
export LC_ALL=C.UTF-8

rm -rf "${work:?}"/*
mkdir -p "$work/gtadata" "$work/out"
# A mission called Café in the code page's bytes; the vehicle file named in UTF-8 (from wine's
# UTF-8 command line) does not exist, so a warning names it.
printf '[1]\r\nCaf\xe9, 1, nyc.cmp\r\n\r\n\r\n' >"$work/gtadata/mission.ini"
(cd "$work" && timeout 60 script -qec \
    "wine '$bin/brennic-cli.exe' --mission-dir gtadata --output-dir out --cars Жук.ini" \
    /dev/null) | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' | tr -d '\r' >"$work/console.txt"

check "a script named in the code page shows its letters" grep -qx 'nyc_Café_1.mis' "$work/console.txt"
check "a name given in UTF-8 shows its letters" \
    grep -q 'warning: the vehicle file Жук.ini does not exist' "$work/console.txt"
check "the script has the mission's name" test -f "$work/out/nyc_Café_1.mis"

summary
