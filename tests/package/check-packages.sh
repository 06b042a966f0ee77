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
# The project's version, as CMake has it: what the packages and the programs must carry.
version=$(sed -n 's/^project(brennic VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

# Converts the example with COMMAND... into WORK/NAME; every script and the status text as the
# golden case has them.
# lintian's errors and warnings (its notes are printed, not counted).
lintian_passes() {
    lintian --fail-on error,warning --display-info --pedantic "$1" 2>/dev/null
}

# desktop-file-validate has nothing to say: no error, no warning, no hint.
desktop_entry_valid() {
    local said
    said=$(desktop-file-validate "$1" 2>&1) && test -z "$said" || { echo "$said"; return 1; }
}

# The Windows resources of an .exe, read with icoutils and xmllint.
resource() { wrestool -x --raw --type="$2" "$1"; }
version_value() { # EXE KEY: the string value of KEY in the version information
    resource "$1" 16 | strings -el -n 2 | sed -n "/^$2\$/{n;p;q}"
}
fixed_version_bytes() { # VERSION as a fixed file version's bytes: minor, major, tweak, patch
    local major minor patch tweak n
    IFS=. read -r major minor patch tweak <<<"$1"
    for n in "${minor:-0}" "${major:-0}" "${tweak:-0}" "${patch:-0}"; do
        printf ' %02x %02x' $((n & 255)) $((n >> 8))
    done
}
has_fixed_version() { # EXE VERSION: file and product version in the numbers Explorer shows
    local bytes
    bytes=$(fixed_version_bytes "$2")
    resource "$1" 16 | od -An -tx1 -v | tr -d '\n' | tr -s ' ' |
        grep -q "bd 04 ef fe 00 00 01 00$bytes$bytes"
}
manifest_value() { # EXE XPATH: a value of the manifest, which must be well-formed XML
    resource "$1" 24 | xmllint --xpath "string($2)" -
}
el() { printf '*[local-name()="%s"]' "$1"; } # an element in any of the manifest's name spaces
has_desktop_icon() { # EXE: the desktop icon's picture, at the sizes Windows asks for
    wrestool -x --type=14 "$1" >"$work/icon.ico" || return 1
    local size
    for size in 16 32 48 256; do
        icotool -l "$work/icon.ico" | grep -q -- "--width=$size --height=$size" || return 1
    done
    icotool -x -w 256 -o "$work/icon-256.png" "$work/icon.ico" &&
        rsvg-convert -w 256 -h 256 -o "$work/svg-256.png" "$root/packaging/brennic.svg" &&
        compare -metric AE "$work/icon-256.png" "$work/svg-256.png" null: 2>/dev/null
}
has_crlf_lines() { ! grep -q $'[^\r]$\|^$' "$1"; }

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
    usr/share/icons/hicolor/scalable/apps/brennic.svg usr/share/doc/brennic/README.md \
    usr/share/doc/brennic/copyright usr/share/doc/brennic/changelog.gz \
    usr/share/man/man1/brennic.1.gz usr/share/man/man1/brennic-cli.1.gz; do
    check "the .deb installs /$file" test -s "$work/root/$file"
done
check "lintian finds no error and no warning in the .deb" lintian_passes "$deb"
check "the .deb is version $version" test "$(dpkg-deb -f "$deb" Version)" = "$version"
zcat "$work/root/usr/share/doc/brennic/changelog.gz" >"$work/changelog"
check "the changelog's latest entry is version $version" \
    test "$(dpkg-parsechangelog -l "$work/changelog" -S Version)" = "$version"
check "brennic-cli's manual page lists its options" \
    zgrep -q 'mission\\-dir' "$work/root/usr/share/man/man1/brennic-cli.1.gz"
check "the .deb's desktop entry is valid" \
    desktop_entry_valid "$work/root/usr/share/applications/brennic.desktop"
check "the .deb's desktop entry starts brennic" grep -qx 'Exec=brennic' \
    "$work/root/usr/share/applications/brennic.desktop"
check "the installed brennic-cli converts the example" \
    converts_the_example deb "$work/root/usr/bin/brennic-cli"

zip=$(ls "$2"/brennic-*-windows.zip 2>/dev/null | head -n 1)
check "a zip was built" test -n "$zip"
unzip -q "$zip" -d "$work/zip"
folder=$(ls -d "$work/zip"/brennic-*-windows)
for file in brennic.exe brennic-cli.exe README.txt examples/gtadata/MISSION.INI \
    examples/gtadata/ENGLISH.FXT examples/output/e.txt; do
    check "the zip holds $file" test -s "$folder/$file"
done
for program in brennic.exe brennic-cli.exe; do
    # Only DLLs that every Windows has: no runtime to ship beside the programs.
    check "$program needs only system DLLs" test -z "$(x86_64-w64-mingw32-objdump -p \
        "$folder/$program" | sed -n 's/^\s*DLL Name: //p' | tr 'a-z' 'A-Z' |
        grep -vxE 'KERNEL32.DLL|USER32.DLL|GDI32.DLL|SHELL32.DLL|OLE32.DLL|COMCTL32.DLL|COMDLG32.DLL|MSVCRT.DLL')"
    exe="$folder/$program"
    check "$program carries the desktop icon" has_desktop_icon "$exe"
    check "$program's product name is BRENNIC" test "$(version_value "$exe" ProductName)" = BRENNIC
    for key in ProductVersion FileVersion; do
        check "$program's $key is $version" test "$(version_value "$exe" $key)" = "$version"
    done
    check "$program's numeric version is $version" has_fixed_version "$exe" "$version"
    check "$program has a file description" test -n "$(version_value "$exe" FileDescription)"
    check "$program's original name is $program" \
        test "$(version_value "$exe" OriginalFilename)" = "$program"
    check "$program's manifest asks for the version 6 common controls" test "$(manifest_value \
        "$exe" "//$(el dependentAssembly)/$(el assemblyIdentity)[@name='Microsoft.Windows.Common-Controls']/@version")" = 6.0.0.0
    check "$program's manifest runs it as the invoker" \
        test "$(manifest_value "$exe" "//$(el requestedExecutionLevel)/@level")" = asInvoker
    check "$program's manifest is long-path aware" \
        test "$(manifest_value "$exe" "//$(el longPathAware)")" = true
    check "$program's manifest is aware of each monitor's DPI" \
        test "$(manifest_value "$exe" "//$(el dpiAware)")" = true/pm
    check "$program's manifest asks for per-monitor DPI awareness, version 2 first" \
        test "$(manifest_value "$exe" "//$(el dpiAwareness)")" = PerMonitorV2,PerMonitor
done
check "the zip's README.txt has CR LF line ends" has_crlf_lines "$folder/README.txt"
check "the zipped brennic-cli.exe converts the example" \
    converts_the_example zip timeout 60 wine "$folder/brennic-cli.exe"

summary
