#!/bin/sh
# Builds the fuzzer's seed inputs, at fuzz time, from the bundled example, the golden cases and
# the real mission files beside the project when they are there: 5 switch bytes, 1 offset byte,
# the mission file, "\n\001E\n", e.txt, "\n\001C\n", cars.ini.
set -eu
corpus=$1
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$corpus"
{
    printf '\377\377\377\377\377\001'
    cat "$top/examples/gtadata/MISSION.INI"
    printf '\n\001E\n'
    cat "$top/examples/output/e.txt"
    printf '\n\001C\n[BRENNIC Vehicles]\r\n1=BUG\r\nother=EDSEL\r\n'
} > "$corpus/seed-example"
for case in "$top"/tests/cases/*/; do
    name=$(basename "$case")
    for mission in "$case"input/*; do
        case $(basename "$mission") in
        e.txt | cars.ini | .gitkeep) continue ;;
        esac
        {
            printf '\377\377\377\377\377\000'
            cat "$mission"
            if [ -f "$case/input/e.txt" ]; then printf '\n\001E\n'; cat "$case/input/e.txt"; fi
        } > "$corpus/seed-$name"
    done
done
for mission in "$top"/../shared/corpus/gta1/*.ini; do
    [ -f "$mission" ] || continue
    { printf '\377\377\377\377\377\001'; cat "$mission"; } > "$corpus/seed-real-$(basename "$mission" .ini)"
done
