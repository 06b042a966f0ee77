#pragma once

#include "engine/Conversion.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

namespace brennic::engine {

// The object part of a line: reads the coordinate triple from the cursor and translates the first
// kind whose switch is on and whose match text stands at the kind word (letter case ignored; a
// trailing blank is part of the test). nullopt when the rest of the line holds no "(".
std::optional<Match> Translate_object(Conversion& conversion);

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
// MPHONE and MPHONES alike.
void Translate_mphone(Conversion& conversion);

// Rings the telephone object named OBJECT<phone> and waits until the player answers it; MPHONE
// lines and ANSWER commands differ only in the comment line above it.
void Write_answer_wait(Conversion& conversion, std::string_view phone, std::string_view comment);

// The pieces joined into one text, for statements kept in ObjectLineTable until a later line.
std::string Joined(std::initializer_list<std::string_view> pieces);

// The ObjectLineTable row of the current line: its line number as a whole number, 0 to 60000;
// anything else fails the run.
int Line_number_row(const MissionLine& line);

} // namespace brennic::engine
