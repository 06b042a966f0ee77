#!/bin/bash
# What the packages hold, and that the programs in them convert the bundled example exactly as its
# golden case expects.
#
#   check-packages.sh DEB_FOLDER ZIP_FOLDER WORK
#
# The .deb is unpacked into a temporary root (dpkg-deb -x), the zip beside it; the Windows
# program runs under wine (WINEPREFIX must name an initialised prefix).
set -u

here=$(cd "$(dirname "$0")" && pwd)
. "$here/../support/checks.sh"
root=$(cd "$here/../.." && pwd)
golden="$root/tests/cases/examples-all-switches/expected"
rm -rf "$3" && mkdir -p "$3" && work=$(cd "$3" && pwd)

# Converts the example with COMMAND... into WORK/NAME; every script and the status text as the
# golden case has them.
converts_the_example() {
    local name=$1
    shift
    mkdir -p "$work/$name"
    cp -R "$root/examples/output" "$work/$name/output"
    "$@" --mission-dir "$root/examples/gtadata" --output-dir "$work/$name/output" --all \
        >"$work/$name/status.txt" || return 1
    cmp "$work/$name/status.txt" "$golden/status.txt" || return 1
    for script in "$golden/output"/*.mis; do
        cmp "$script" "$work/$name/output/$(basename "$script")" || return 1
    done
}

deb=$(ls "$1"/brennic_*.deb 2>/dev/null | head -n 1)
check "a .deb was built" test -n "$deb"
dpkg-deb -x "$deb" "$work/root"
for file in usr/bin/brennic usr/bin/brennic-cli usr/share/applications/brennic.desktop \
    usr/share/icons/hicolor/scalable/apps/brennic.svg usr/share/doc/brennic/README.md; do
    check "the .deb installs /$file" test -s "$work/root/$file"
done
check "the .deb's desktop entry starts brennic" grep -qx 'Exec=brennic' \
    "$work/root/usr/share/applications/brennic.desktop"
check "the installed brennic-cli converts the example" \
    converts_the_example deb "$work/root/usr/bin/brennic-cli"

zip=$(ls "$2"/brennic-*-windows.zip 2>/dev/null | head -n 1)
check "a zip was built" test -n "$zip"
unzip -q "$zip" -d "$work/zip"
folder=$(ls -d "$work/zip"/brennic-*-windows)
for file in brennic.exe brennic-cli.exe README.txt examples/gtadata/MISSION.INI \
    examples/output/e.txt; do
    check "the zip holds $file" test -s "$folder/$file"
done
for program in brennic.exe brennic-cli.exe; do
    # Only DLLs that every Windows has: no runtime to ship beside the programs.
    check "$program needs only system DLLs" test -z "$(x86_64-w64-mingw32-objdump -p \
        "$folder/$program" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' |
        grep -vxE 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|OLE32.DLL|COMCTL32.DLL|MSVCRT.DLL')"
done
check "the zipped brennic-cli.exe converts the example" \
    converts_the_example zip timeout 60 wine "$folder/brennic-cli.exe"

summary
