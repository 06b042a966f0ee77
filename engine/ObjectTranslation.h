#pragma once

#include "engine/Conversion.h"

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace brennic::engine {

// One object kind: the text that must stand at the kind word (letter case ignored; a trailing
// blank is part of the test), the switch that must be on (none for kinds always translated) and
// its translation, entered with the cursor on the first letter of the kind word.
struct ObjectKind {
    std::string_view matchText;
    Switch enabledBy = nullptr;
    Translation translate = nullptr;
};

// The kinds in the order they are tried. Order matters where one match text is the start of a
// word another kind owns: FUTUREPED before FUTURE, TARGET (with its blank) long before
// TARGET_SCORE.
std::span<const ObjectKind> Object_kinds();

// The object part of a line: reads the coordinate triple from the cursor and translates the first
// kind that matches. An object part nothing translates becomes a "// " comment under chkUnknown;
// either way the line counts as handled, so the end of the line adds no second comment.
void Translate_object(Conversion& conversion);

// Markers, shops, counters, the player and mobile phones. Object names are "OBJECT" or "object"
// followed by the line number as written; players are numbered per mission.
void Translate_dummy(Conversion& conversion);
void Translate_target(Conversion& conversion);
void Translate_trigger(Conversion& conversion);
void Translate_telephone(Conversion& conversion);
void Translate_spray(Conversion& conversion);
void Translate_bombshop(Conversion& conversion);
void Translate_mission_counter(Conversion& conversion);
void Translate_mission_total(Conversion& conversion);
void Translate_secret_mission_counter(Conversion& conversion);
void Translate_target_score(Conversion& conversion);
void Translate_player(Conversion& conversion);
void Translate_mphone(Conversion& conversion);
void Translate_mphones(Conversion& conversion);

// Rings the telephone object named OBJECT<phone> and waits until the player answers it; MPHONE
// lines and ANSWER commands differ only in the comment line above it.
void Write_answer_wait(Conversion& conversion, std::string_view phone, std::string_view comment);

// A whole number in decimal, kept in place so a statement can take it as a piece.
class DecimalText {
  public:
    explicit DecimalText(long long value);
    std::string_view view() const { return {m_digits.data(), m_size}; }

  private:
    std::array<char, 24> m_digits{};
    std::size_t m_size = 0;
};

// The pieces joined into one text, for statements kept in ObjectLineTable until a later line.
std::string Joined(std::initializer_list<std::string_view> pieces);

// The ObjectLineTable row of the current line: its line number as a whole number, 0 to 60000;
// anything else fails the run.
int Line_number_row(const MissionLine& line);

} // namespace brennic::engine
