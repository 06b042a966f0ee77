#include "engine/ObjectTranslation.h"

#include "engine/CharacterTranslation.h"
#include "engine/PowerupTranslation.h"
#include "engine/VehicleTranslation.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <utility>

namespace brennic::engine {

namespace {

using O = ConversionOptions;

constexpr std::array kKinds{
    ObjectKind{"DUMMY", &O::chkDummy, &Translate_dummy},
    ObjectKind{"TARGET ", &O::chkTarget, &Translate_target},
    ObjectKind{"TRIGGER", &O::chkTrigger, &Translate_trigger},
    ObjectKind{"TELEPHONE", &O::chkPhone, &Translate_telephone},
    ObjectKind{"SPRAY", &O::chkSpray, &Translate_spray},
    ObjectKind{"BOMBSHOP", &O::chkBomb, &Translate_bombshop},
    ObjectKind{"MISSION_COUNTER", nullptr, &Translate_mission_counter},
    ObjectKind{"MISSION_TOTAL", nullptr, &Translate_mission_total},
    ObjectKind{"SECRET_MISSION_COUNTER", nullptr, &Translate_secret_mission_counter},
    ObjectKind{"PLAYER", nullptr, &Translate_player},
    ObjectKind{"MPHONE ", &O::chkMphone, &Translate_mphone},
    ObjectKind{"MPHONES ", &O::chkMphone, &Translate_mphones},
    ObjectKind{"PED ", &O::chkPed, &Translate_ped},
    ObjectKind{"FUTUREPED ", &O::chkFuturePed, &Translate_futureped},
    ObjectKind{"FUTURE ", &O::chkFuture, &Translate_future},
    ObjectKind{"MIDPOINT_MULTI ", &O::chkMidPointMulti, &Translate_midpoint_multi},
    ObjectKind{"FUTURECAR", &O::chkFuturecar, &Translate_futurecar},
    ObjectKind{"PARKED ", &O::chkParked, &Translate_parked},
    ObjectKind{"HELLS ", &O::chkHells, &Translate_hells},
    ObjectKind{"DOOR", &O::chkDoor, &Translate_door},
    ObjectKind{"TARGET_SCORE", nullptr, &Translate_target_score},
    ObjectKind{"POWERUP", &O::chkPowerup, &Translate_powerup},
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

// The field behind a fixed-width keyword, for the DECLARE statements that copy it unconverted.
void writeDeclaration(Conversion& conversion, int keywordWidth, std::string_view statement) {
    MissionLine& line = conversion.line;
    stepCursor(line, keywordWidth);
    const std::string field = Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line);
    conversion.write({statement, " ( ", field, " )"});
}

void writeMphoneWait(Conversion& conversion, int keywordWidth) {
    MissionLine& line = conversion.line;
    stepCursor(line, keywordWidth);
    Write_answer_wait(conversion, Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line),
                      "// wait until mphone is answered");
}

// Passes over the kind word and a first field of any length, then reads and converts the rotation
// field behind it. firstCharacter is the position of the first field's first character, counted
// from the kind word.
std::string rotationBehindFirstField(MissionLine& line, int firstCharacter) {
    stepCursor(line, firstCharacter);
    Skip_value(line);
    stepCursor(line, 1);
    return Convert_rotation(Keep_Adding_Chars_to_strGotoLine_until_a_space_is_detected(line));
}

} // namespace

std::span<const ObjectKind> Object_kinds() { return kKinds; }

void Translate_object(Conversion& conversion) {
    MissionLine& line = conversion.line;
    if (!Read_coordinates(line, conversion.options)) {
        return;
    }
    static constexpr auto kCandidates = Keyword_candidates(kKinds, [](const ObjectKind& kind) {
        return std::pair{kind.matchText[0], false};
    });
    for (std::uint32_t candidates = kCandidates[Byte_at(line, line.intLinePosition)];
         candidates != 0; candidates &= candidates - 1) {
        const ObjectKind& kind = kKinds[static_cast<std::size_t>(std::countr_zero(candidates))];
        if ((kind.enabledBy == nullptr || conversion.options.*kind.enabledBy) &&
            Is_keyword_at_cursor(line, kind.matchText)) {
            kind.translate(conversion);
            conversion.blnLineHandled = true;
            return;
        }
    }
    if (conversion.options.chkUnknown && !line.strRead.empty()) {
        conversion.write({"// ", line.strRead});
    }
    conversion.blnLineHandled = true;
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
    // The first field is passed over whatever its length, as for PLAYER: a two-character field
    // would otherwise put the cursor on a blank and lose the angle.
    const std::string rotation = rotationBehindFirstField(line, 11);
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

void Translate_mission_counter(Conversion& conversion) {
    MissionLine& line = conversion.line;
    stepCursor(line, 16);
    Skip_value(line);
}

void Translate_mission_total(Conversion& conversion) {
    writeDeclaration(conversion, 14, "DECLARE_TOTAL_MISSIONS");
}

void Translate_secret_mission_counter(Conversion& conversion) {
    writeDeclaration(conversion, 23, "DECLARE_TOTAL_SECRETS");
}

void Translate_target_score(Conversion& conversion) {
    writeDeclaration(conversion, 13, "DECLARE_FINISH_SCORE");
}

void Translate_player(Conversion& conversion) {
    MissionLine& line = conversion.line;
    const std::string rotation = rotationBehindFirstField(line, 8);
    Raise(conversion.stats.MissionPlayerNumber);
    Raise(conversion.stats.PlayerCount);
    const DecimalText player(conversion.stats.MissionPlayerNumber);
    conversion.write({"PLAYER_PED player", player.view(), " = ( ", Format_coordinate(line.dblX),
                      " , ", Format_coordinate(line.dblY), " , ", "255.0", " ) 25 ", rotation,
                      " // ", line.strLineNumber});
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

void Translate_mphone(Conversion& conversion) { writeMphoneWait(conversion, 7); }

void Translate_mphones(Conversion& conversion) { writeMphoneWait(conversion, 8); }

DecimalText::DecimalText(long long value) {
    const auto result = std::to_chars(m_digits.data(), m_digits.data() + m_digits.size(), value);
    m_size = static_cast<std::size_t>(result.ptr - m_digits.data());
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
