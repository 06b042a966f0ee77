#!/bin/sh
# Builds the fuzzers' seed inputs, at fuzz time. The conversion's (into CORPUS) from the bundled
# example, the golden cases and the real mission files beside the project when they are there:
# 5 switch bytes, 1 offset byte, the mission file, "\n\001E\n", e.txt, "\n\001C\n", cars.ini.
# The check's (into CHECK_CORPUS) from the golden cases' scripts, and a level script given with a
# mission script, separated by "\n\001S\n".
set -eu
corpus=$1
check_corpus=$2
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$corpus" "$check_corpus"
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
for script in "$top"/tests/cases/*/expected/output/*.mis; do
    case_name=$(basename "$(dirname "$(dirname "$(dirname "$script")")")")
    cp "$script" "$check_corpus/seed-$case_name-$(basename "$script" .mis | tr ' ' '_')"
done
printf '%s\r\n' 'COUNTER n = 1' 'OBJ_DATA thing = ( 1.5 , 2.5 , 2.0 ) 0 PHONE' 'FORWARD work:' \
    'LEVELSTART' 'WHILE_EXEC ( n = 1 )' '  IF ( CHECK_ANSWERED_PHONE ( thing ) )' '    SET n = 0' \
    '  ENDIF' 'ENDWHILE' 'GOSUB work:' 'LEVELEND' 'work:' 'RETURN' > "$check_corpus/seed-set"
printf '\n\001S\n' >> "$check_corpus/seed-set"
printf '%s\r\n' 'ARROW_DATA pointer' 'MISSIONSTART' '/* a comment' 'over lines */' \
    'POINT_ARROW_AT ( pointer , thing )' 'DO' '  ++n' 'WHILE_TRUE ( n < 5 )' 'MISSIONEND' \
    >> "$check_corpus/seed-set"
