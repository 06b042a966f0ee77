#pragma once

#include "engine/MissionLine.h"

#include <initializer_list>
#include <string_view>

namespace brennic::engine {

// What the next script line lacks because the mission gave nothing for it.
enum class Missing {
    DeferredStatement,  // CAR_ON, PED_ON or POWERUP_ON named a row no line of the mission filled
    BriefText,          // a brief's text number has no text
    BriefTextPastTable, // a brief's text number lies beyond the text table, so has no text
};

// Listens to a run for a report of the work left in its scripts. A run without a listener pays
// only the test for one; nothing a listener does changes a script or the status text.
class RunNotes {
  public:
    virtual ~RunNotes() = default;
    // A script was created under this file name; what follows belongs to it.
    virtual void scriptOpened(std::string_view fileName) = 0;
    // A mission line was read and its line number taken: the lines written until the next one
    // come from it.
    virtual void missionLineRead(const MissionLine& line) = 0;
    // A line was written to the open script.
    virtual void lineWritten(std::initializer_list<std::string_view> pieces) = 0;
    // The next line written lacks what `number` (a row or a text number) should have given.
    virtual void missing(Missing what, std::string_view number) = 0;
    // Nothing translated the mission line read last.
    virtual void notTranslated() = 0;
};

} // namespace brennic::engine
