#include "engine/CommandTranslation.h"

#include "engine/NumberReading.h"
#include "engine/ObjectTranslation.h"

namespace brennic::engine {

namespace {

// Column 0 of the row a whole-number argument names; a non-number or a row outside the table
// fails the run.
const std::string& deferredStatement(Conversion& conversion, std::string_view argument) {
    const std::string& statement =
        conversion.state.objectLines.cell(Object_line_row(Whole_number_value(argument)), 0);
    if (statement.empty()) {
        conversion.noteMissing(Missing::DeferredStatement, argument);
    }
    return statement;
}

// Modders number their own texts from 10001 on, beyond the table: such a brief is still written,
// with the empty text, instead of ending the conversion.
std::string_view briefText(Conversion& conversion, std::string_view number) {
    const double index = Nearest_whole_value(number);
    const std::string_view text = index >= 0.0 && index <= TextTable::intMaxIndex
                                      ? conversion.state.texts.at(static_cast<int>(index))
                                      : std::string_view();
    if (text.empty()) {
        conversion.noteMissing(index > TextTable::intMaxIndex ? Missing::BriefTextPastTable
                                                              : Missing::BriefText,
                               number);
    }
    return text;
}

} // namespace

void Translate_drop_wanted_level(Conversion& conversion) {
    conversion.write("CLEAR_WANTED_LEVEL ( player1 )");
}

void Translate_car_on(Conversion& conversion) {
    conversion.write(deferredStatement(conversion, Read_next_argument(conversion.line)));
}

void Translate_ped_on(Conversion& conversion) {
    const std::string_view row = Read_next_argument(conversion.line);
    conversion.write({deferredStatement(conversion, row), " // PED_ON"});
}

void Translate_powerup_on(Conversion& conversion) {
    if (conversion.options.chkPowerupRespawn) {
        return;
    }
    // Every powerup then took the object form and kept its creation statement for this line.
    const std::string_view row = Read_next_argument(conversion.line);
    conversion.write({deferredStatement(conversion, row), " // POWERUP_ON"});
}

void Translate_red_arrow(Conversion& conversion) {
    const std::string_view object = Read_next_argument(conversion.line);
    conversion.write({"LEVEL_END_POINT_ARROW_AT (ARROW , OBJECT", object, ") // ",
                      conversion.line.strLineNumber});
}

void Translate_arrow(Conversion& conversion) {
    MissionLine& line = conversion.line;
    const std::string_view object = Read_next_argument(line);
    if (object == "0") {
        conversion.write(
            {"// ", line.strRead, " There is no object at line 0, what should I point at?"});
        return;
    }
    const ObjectLineTable& rows = conversion.state.objectLines;
    const int row = Object_line_row(Nearest_whole_value(object));
    if (rows.cell(row, 3) == "door") {
        conversion.write({"POINT_ARROW_AT ( ARROW , ", rows.cell(row, 0), " , ", rows.cell(row, 1),
                          " , ", rows.cell(row, 2), ") // arrowDOOR ", line.strLineNumber});
        return;
    }
    conversion.write({"POINT_ARROW_AT ( ARROW , OBJECT", object, " ) // ", line.strLineNumber});
}

void Translate_arrowcar(Conversion& conversion) {
    const std::string_view object = Read_next_argument(conversion.line);
    conversion.write({"POINT_ARROW_AT (ARROW , OBJECT", object, ") // ARROWCAR ",
                      conversion.line.strLineNumber});
}

void Translate_arrow_off(Conversion& conversion) {
    conversion.write({"REMOVE_ARROW ( ARROW ) // ", conversion.line.strLineNumber});
}

void Translate_answer(Conversion& conversion) {
    Raise(conversion.stats.AnswerPhoneCount);
    Write_answer_wait(conversion, Read_next_argument(conversion.line),
                      "// wait until phone is answered");
}

void Translate_brief(Conversion& conversion) {
    const std::string_view number = Read_next_argument(conversion.line);
    conversion.write({"DISPLAY_BRIEF ( ", number, " ) //", briefText(conversion, number)});
    Raise(conversion.stats.BriefCount);
}

void Translate_mobile_brief(Conversion& conversion) {
    const std::string_view number = Read_argument_after(conversion.line, 4);
    conversion.write({"DISPLAY_BRIEF ( ", number, " ) // MOBILE_BRIEF ",
                      conversion.line.strLineNumber, briefText(conversion, number)});
    Raise(conversion.stats.BriefCount);
}

void Translate_message_brief(Conversion& conversion) {
    const std::string_view number = Read_argument_after(conversion.line, 4);
    conversion.write({"DISPLAY_MESSAGE ( ", number, " ) //", briefText(conversion, number)});
    Raise(conversion.stats.BriefCount);
}

void Translate_p_brief(Conversion& conversion) {
    const std::string_view number = Read_argument_after(conversion.line, 4);
    conversion.write({"DISPLAY_BRIEF ( ", number, " ) // P_BRIEF ", conversion.line.strLineNumber,
                      briefText(conversion, number)});
    Raise(conversion.stats.BriefCount);
}

} // namespace brennic::engine
