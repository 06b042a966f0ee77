#include "engine/ObjectTranslation.h"

#include "engine/CharacterTranslation.h"
#include "engine/NumberReading.h"
#include "engine/NumberWriting.h"
#include "engine/PowerupTranslation.h"
#include "engine/VehicleTranslation.h"

#include <algorithm>

namespace brennic::engine {

namespace {

using O = ConversionOptions;

// One object kind: its match text, the switch that must be on (none for kinds always
// translated) and its translation.
struct ObjectKind {
    std::string_view matchText;
    Switch enabledBy = nullptr;
    Translation translate = nullptr;
};

// In the order they are tried. Order matters where one match text is the start of a word another
// kind owns: FUTUREPED before FUTURE, TARGET (with its blank) long before TARGET_SCORE.
constexpr ObjectKind kKinds[] = {
    {"DUMMY", &O::chkDummy, &Translate_dummy},
    {"TARGET ", &O::chkTarget, &Translate_target},
    {"TRIGGER", &O::chkTrigger, &Translate_trigger},
    {"TELEPHONE", &O::chkPhone, &Translate_telephone},
    {"SPRAY", &O::chkSpray, &Translate_spray},
    {"BOMBSHOP", &O::chkBomb, &Translate_bombshop},
    {"MISSION_COUNTER", nullptr, &Translate_mission_counter},
    {"MISSION_TOTAL", nullptr, &Translate_mission_total},
    {"SECRET_MISSION_COUNTER", nullptr, &Translate_secret_mission_counter},
    {"PLAYER", nullptr, &Translate_player},
    {"MPHONE ", &O::chkMphone, &Translate_mphone},
    {"MPHONES ", &O::chkMphone, &Translate_mphone},
    {"PED ", &O::chkPed, &Translate_ped},
    {"FUTUREPED ", &O::chkFuturePed, &Translate_futureped},
    {"FUTURE ", &O::chkFuture, &Translate_future},
    {"MIDPOINT_MULTI ", &O::chkMidPointMulti, &Translate_midpoint_multi},
    {"FUTURECAR", &O::chkFuturecar, &Translate_futurecar},
    {"PARKED ", &O::chkParked, &Translate_parked},
    {"HELLS ", &O::chkHells, &Translate_hells},
    {"DOOR", &O::chkDoor, &Translate_door},
    {"TARGET_SCORE", nullptr, &Translate_target_score},
    {"POWERUP", &O::chkPowerup, &Translate_powerup},
};

// The markers differ only in their height and their comment.
void writeMarker(Conversion& conversion, double height, std::string_view comment) {
    const MissionLine& line = conversion.line;
    conversion.write({"OBJ_DATA OBJECT", line.strLineNumber, " = ( ", Format_coordinate(line.dblX),
                      " , ", Format_coordinate(line.dblY), " , ", Format_coordinate(height),
                      " ) 0 INVISIBLE_TARGET // ", comment});
}

// The shops stand one above the height read; their statement ends in a blank before the comment.
void writeShop(Conversion& conversion, std::string_view shop) {
    const MissionLine& line = conversion.line;
    conversion.write({"OBJ_DATA object", line.strLineNumber, " = ( ", Format_coordinate(line.dblX),
                      " , ", Format_coordinate(line.dblY), " , ",
                      Format_coordinate(line.dblZ + 1.0), " ) 0 CAR_SHOP ", shop, " ", " // ",
                      line.strLineNumber});
}

// The DECLARE statements copy their one field unconverted.
void writeDeclaration(Conversion& conversion, std::string_view statement) {
    const std::string_view field = Read_next_argument(conversion.line);
    conversion.write({statement, " ( ", field, " )"});
}

// TELEPHONE and PLAYER pass over their first field from its second character on, so with no first
// field (two blanks) the field behind it is passed over instead.
void Skip_first_field_from_its_second_character(MissionLine& line) {
    stepCursor(line, 2);
    Skip_value(line);
}

} // namespace

std::optional<Match> Translate_object(Conversion& conversion) {
    MissionLine& line = conversion.line;
    if (!Read_coordinates(line, conversion.options)) {
        return std::nullopt;
    }
    const std::string_view text = line.strRead;
    const auto cursor = static_cast<std::size_t>(line.intLinePosition - 1);
    for (const ObjectKind& kind : kKinds) {
        if (Is_keyword_at(text, cursor, kind.matchText) &&
            (kind.enabledBy == nullptr || conversion.options.*kind.enabledBy)) {
            if (conversion.notes != nullptr) {
                conversion.notes->translated(kind.matchText.substr(0, kind.matchText.find(' ')));
            }
            Pass_keyword(line, kind.matchText);
            kind.translate(conversion);
            return Match{.translated = true};
        }
    }
    if (conversion.notes == nullptr) {
        return Match{};
    }
    // For the report: the kind word as written, and the switch of the kind that stands there.
    const std::string_view rest = text.substr(std::min(cursor, text.size()));
    Match match{.word = rest.substr(0, rest.find(' '))};
    for (const ObjectKind& kind : kKinds) {
        if (Is_keyword_at(text, cursor, kind.matchText)) {
            match.box = kind.enabledBy;
            break;
        }
    }
    return match;
}

void Translate_dummy(Conversion& conversion) {
    Raise(conversion.stats.DummyCount);
    writeMarker(conversion, conversion.line.dblZ, "DUMMY");
}

void Translate_target(Conversion& conversion) {
    writeMarker(conversion, conversion.line.dblZ + 1.0, "TARGET");
}

void Translate_trigger(Conversion& conversion) {
    writeMarker(conversion, conversion.line.dblZ + 1.0, "TRIGGER");
}

void Translate_telephone(Conversion& conversion) {
    MissionLine& line = conversion.line;
    Skip_first_field_from_its_second_character(line);
    const std::string rotation = Convert_rotation(Read_next_argument(line));
    Raise(conversion.stats.PhoneCount);
    conversion.write({"OBJ_DATA object", line.strLineNumber, " = ( ", Format_coordinate(line.dblX),
                      " , ", Format_coordinate(line.dblY), " , ", Format_coordinate(line.dblZ),
                      " ) ", rotation, " PHONE", " // ", line.strLineNumber});
}

void Translate_spray(Conversion& conversion) {
    Raise(conversion.stats.SprayCount);
    writeShop(conversion, "26");
}

void Translate_bombshop(Conversion& conversion) {
    Raise(conversion.stats.BombCount);
    writeShop(conversion, "BOMB_SHOP");
}

void Translate_mission_counter(Conversion& conversion) { Skip_next_argument(conversion.line); }

void Translate_mission_total(Conversion& conversion) {
    writeDeclaration(conversion, "DECLARE_TOTAL_MISSIONS");
}

void Translate_secret_mission_counter(Conversion& conversion) {
    writeDeclaration(conversion, "DECLARE_TOTAL_SECRETS");
}

void Translate_target_score(Conversion& conversion) {
    writeDeclaration(conversion, "DECLARE_FINISH_SCORE");
}

void Translate_player(Conversion& conversion) {
    MissionLine& line = conversion.line;
    Skip_first_field_from_its_second_character(line);
    const std::string rotation = Convert_rotation(Read_next_argument(line));
    Raise(conversion.stats.MissionPlayerNumber);
    Raise(conversion.stats.PlayerCount);
    const std::string player = std::to_string(conversion.stats.MissionPlayerNumber);
    conversion.write({"PLAYER_PED player", player, " = ( ", Format_coordinate(line.dblX), " , ",
                      Format_coordinate(line.dblY), " , ", "255.0", " ) 25 ", rotation, " // ",
                      line.strLineNumber});
}

void Write_answer_wait(Conversion& conversion, std::string_view phone, std::string_view comment) {
    conversion.write("");
    conversion.write(comment);
    conversion.write({"ANSWER_PHONE ( PLAYER1 , OBJECT", phone, " , 0 )"});
    conversion.write("SET loop = 1");
    conversion.write("WHILE_EXEC ( loop = 1 )");
    conversion.write({"IF ( CHECK_ANSWERED_PHONE ( OBJECT", phone, " ) )"});
    conversion.write({"     STOP_PHONE ( OBJECT", phone, " )"});
    conversion.write("SET loop = 0");
    conversion.write("ENDIF");
    conversion.write("ENDWHILE");
    conversion.write("");
}

void Translate_mphone(Conversion& conversion) {
    Write_answer_wait(conversion, Read_next_argument(conversion.line),
                      "// wait until mphone is answered");
}

std::string Joined(std::initializer_list<std::string_view> pieces) {
    std::size_t size = 0;
    for (const std::string_view piece : pieces) {
        size += piece.size();
    }
    std::string text;
    text.reserve(size);
    for (const std::string_view piece : pieces) {
        text.append(piece);
    }
    return text;
}

int Line_number_row(const MissionLine& line) {
    return Object_line_row(Whole_number_value(line.strLineNumber));
}

} // namespace brennic::engine
