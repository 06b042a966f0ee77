#pragma once

#include "engine/ConversionOptions.h"

#include <initializer_list>
#include <string_view>

namespace brennic::engine {

// Statements the converter leaves as comments for the user to finish. Each marker line begins
// with its text; a script checked on its own is searched for these.
enum class Marker { MoveFailLine, CheckCarTest, IsGoalDeadTest, MissionEnd };

inline constexpr Marker kMarkers[] = {Marker::MoveFailLine, Marker::CheckCarTest,
                                      Marker::IsGoalDeadTest, Marker::MissionEnd};

constexpr std::string_view Marker_text(Marker marker) {
    switch (marker) {
    case Marker::MoveFailLine:
        return "// MOVE FAIL LINE HERE";
    case Marker::CheckCarTest:
        return "//IF ( IS_CHARACTER_IN_CAR ";
    case Marker::IsGoalDeadTest:
        return "// IF ( IS_CAR_WRECKED ";
    case Marker::MissionEnd:
        break;
    }
    return "// MISSION_END ";
}

// What the next script line lacks because the mission gave nothing for it.
enum class Missing {
    DeferredStatement,  // CAR_ON, PED_ON or POWERUP_ON named a row no line of the mission filled
    BriefText,          // a brief's text number has no text
    BriefTextPastTable, // a brief's text number lies beyond the text table, so has no text
};

// Listens to a run for a report of the work left in its scripts: the run tells what it matched in
// each mission line and what it left undone, in the order it writes. A run without a listener
// pays only the test for one; nothing a listener does changes a script or the status text.
class RunNotes {
  public:
    virtual ~RunNotes() = default;
    // The run took its brief texts from the file of this name; empty when it read none. Told
    // once, before the first script.
    virtual void textsRead(std::string_view fileName) = 0;
    // A script was created under this file name; what follows belongs to it.
    virtual void scriptOpened(std::string_view fileName) = 0;
    // A mission line was read and its line number taken: the lines written until the next one
    // come from it.
    virtual void missionLineRead(std::string_view lineNumber) = 0;
    // A command keyword or an object kind word (upper case, without blanks) matched in the line
    // being read; its translation follows.
    virtual void translated(std::string_view word) = 0;
    // Nothing translated the mission line read last, which holds more than blanks. word: the kind
    // word behind its coordinates when it has an object part, else the keyword behind its line
    // number, as written (empty when there is none); box: the switch, off, that would have
    // translated it, if one would.
    virtual void notTranslated(std::string_view word, Switch box) = 0;
    // The next line written is this marker.
    virtual void markerLeft(Marker marker) = 0;
    // The next line written lacks what `number` (a row or a text number) should have given.
    virtual void missing(Missing what, std::string_view number) = 0;
    // A line was written to the open script.
    virtual void lineWritten(std::initializer_list<std::string_view> pieces) = 0;
};

} // namespace brennic::engine
