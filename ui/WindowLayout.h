#pragma once

#include "engine/ConversionOptions.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace brennic::ui {

// What the window is, for every toolkit: each front end loops over kControls to create its
// controls and wire the clicks, and draws nothing that is not here.

enum class ControlKind {
    Label,
    Picture,   // an open-folder picture: a click, Enter or Space opens the folder question
    TextBox,   // one line
    OffsetBox, // one line; typing stops at kTypedOffsetLength characters
    StatusBox, // several lines, vertical scroll bar; Tab leaves it
    Frame,     // a captioned group; its controls are placed inside it
    CheckBox,  // three states from the settings file, two by clicking
    Shape,     // the green rectangle behind Convert
    Button,
};

// Every control, in the order of kControls: the front ends and Form name controls only so.
enum class Control {
    txtGTA1iniFile,
    imgMissionFolder,
    txtOutputFolder,
    imgOutputFolder,
    chkDoor,
    chkPowerup,
    chkBrief,
    chkPhone,
    chkFuturecar,
    chkParked,
    chkDummy,
    chkFuturePed,
    chkPed,
    chkTarget,
    chkFuture,
    chkTrigger,
    chkSpray,
    chkBomb,
    chkHells,
    chkINCHEADS,
    chkMission_End,
    chkEnd,
    chkArrowcar,
    chkArrow,
    txtStatus,
    chkSteal,
    chkAnswerPhone,
    chkPark,
    chkDestroy,
    chkMphone,
    chkLocate,
    chkGoto,
    chkIsGoalDead,
    chkCheckCar,
    chkUnknown,
    chkDoorArrow,
    chkFutureCarArrow,
    chkPedHunt,
    chkPowerupRespawn,
    txtXoffset,
    txtYoffset,
    txtZoffset,
    cmdConvert,
    cmdWhatIsLeft,
    Label1,
    Label2,
    Label3,
    lblWhatIsLeft,
    Frame1,
    Frame2,
    fraActions,
    Frame3,
    Shape1,
    chkMidPointMulti,
    Label4,
};

// What a click on a control does; the other events belong to the window itself.
enum class Click { None, MissionFolder, OutputFolder, Convert, WhatIsLeft };

// A rectangle in twips, from the top-left corner of the client area or, for a
// control in a frame, of that frame.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlPlace {
    ControlKind kind = ControlKind::Label;
    Control id{};
    std::string_view name{}; // the identifier's own spelling, for the toolkit's object name
    Twips rect{};
    std::string_view caption{};
    std::string_view toolTip{};
    std::optional<Control> frame{}; // the frame it stands in; none for the window itself
    engine::Switch box = nullptr;
    Click click = Click::None;
};

inline constexpr std::string_view kWindowCaption = ".::GTA1 Mission to GTA2 Mission::.";
// Below the status box, a row for what the last run left to do.
inline constexpr Twips kClientArea{0, 0, 7875, 6990};
inline constexpr int kTypedOffsetLength = 5;
inline constexpr std::array<int, 3> kShapeColour{128, 255, 128}; // red, green, blue

// The layout was drawn for a font 10 pixels high at 15 twips to the pixel (96 DPI). A window
// scales it by its own font, as dialog units follow a dialog's font, so that the system's font at
// any size keeps the room the captions had; never below the monitor's DPI, which check marks and
// borders follow.
inline constexpr int kLayoutFontPixels = 10;
inline constexpr int kTwipsPerLayoutFont = 150;

// The height the layout is scaled to, from the window font's height in pixels and the DPI.
constexpr int layoutFontPixels(int fontPixels, int dpi) {
    const int byDpi = (kLayoutFontPixels * dpi + 48) / 96;
    return fontPixels > byDpi ? fontPixels : byDpi;
}

// A length or position in pixels, for a layout scaled to fontPixels.
constexpr int pixels(int twips, int fontPixels) {
    return (twips * fontPixels + kTwipsPerLayoutFont / 2) / kTwipsPerLayoutFont;
}

// The window of what is left to do after a run, opened by cmdWhatIsLeft: a read-only list that
// can be saved as the text file the command line's report is.
inline constexpr std::string_view kWorkLeftCaption = "What is left to do";
inline constexpr std::string_view kWorkLeftSave = "&Save as...";
inline constexpr std::string_view kWorkLeftClose = "Close";
inline constexpr std::string_view kWorkLeftFileName = "What is left to do.txt";
inline constexpr std::string_view kWorkLeftSaveTitle = "Save what is left to do";

namespace layout {

constexpr ControlPlace place(ControlKind kind, Control id, std::string_view name, Twips rect,
                             std::string_view caption = {}, std::string_view toolTip = {},
                             std::optional<Control> frame = {}, Click click = Click::None) {
    return {kind, id, name, rect, caption, toolTip, frame, nullptr, click};
}

// A check box in a frame's row: 17 pixels high where rows stand 360 twips apart, 16 where 240.
constexpr ControlPlace check(Control id, std::string_view name, std::string_view caption,
                             Control frame, int left, int width, int top, engine::Switch box,
                             std::string_view toolTip = {}, int height = 0) {
    height = height != 0 ? height : frame == Control::Frame3 ? 240 : 255;
    return {
        ControlKind::CheckBox, id, name, {left, top, width, height}, caption, toolTip, frame, box};
}

// Frame columns, each as wide as the room up to the next column.
constexpr int kObjects1 = 120, kObjects2 = 1440, kObjects3 = 3000;
constexpr int kObjectives1 = 240, kObjectives2 = 1560;
constexpr int kActions1 = 120, kActions2 = 1320, kActions3 = 2640;
constexpr int kDebug1 = 240, kDebug2 = 1920;

} // namespace layout

// Every control in tab order, each folder picture right after its box; the ones that take no
// focus (labels, frames, the shape) follow the last that does. Midpointmulti and the credit label
// come last of all.
inline constexpr auto kControls = std::to_array<ControlPlace>({
    layout::place(ControlKind::TextBox, Control::txtGTA1iniFile, "txtGTA1iniFile",
                  {3600, 120, 3015, 285}),
    layout::place(ControlKind::Picture, Control::imgMissionFolder, "imgMissionFolder",
                  {3240, 120, 240, 195}, {}, "GTA1 mission folder, gtadata or gtadata\\uk", {},
                  Click::MissionFolder),
    layout::place(ControlKind::TextBox, Control::txtOutputFolder, "txtOutputFolder",
                  {3600, 480, 3015, 285}),
    layout::place(ControlKind::Picture, Control::imgOutputFolder, "imgOutputFolder",
                  {3240, 480, 240, 195}, {}, {}, {}, Click::OutputFolder),

    layout::check(Control::chkDoor, "chkDoor", "Door", Control::Frame1, layout::kObjects1, 1260,
                  240, &engine::ConversionOptions::chkDoor),
    layout::check(Control::chkPowerup, "chkPowerup", "Powerup", Control::Frame1, layout::kObjects2,
                  1500, 240, &engine::ConversionOptions::chkPowerup),
    layout::check(Control::chkBrief, "chkBrief", "Brief", Control::Frame1, layout::kObjects3, 1155,
                  240, &engine::ConversionOptions::chkBrief),
    layout::check(Control::chkPhone, "chkPhone", "Phone", Control::Frame1, layout::kObjects1, 1260,
                  600, &engine::ConversionOptions::chkPhone),
    layout::check(Control::chkFuturecar, "chkFuturecar", "Futurecar", Control::Frame1,
                  layout::kObjects2, 1500, 600, &engine::ConversionOptions::chkFuturecar),
    layout::check(Control::chkParked, "chkParked", "Parked", Control::Frame1, layout::kObjects3,
                  1155, 600, &engine::ConversionOptions::chkParked),
    layout::check(Control::chkDummy, "chkDummy", "Dummy", Control::Frame1, layout::kObjects1, 1260,
                  960, &engine::ConversionOptions::chkDummy),
    layout::check(Control::chkFuturePed, "chkFuturePed", "FuturePed", Control::Frame1,
                  layout::kObjects2, 1500, 960, &engine::ConversionOptions::chkFuturePed),
    layout::check(Control::chkPed, "chkPed", "Ped", Control::Frame1, layout::kObjects3, 1155, 960,
                  &engine::ConversionOptions::chkPed),
    layout::check(Control::chkTarget, "chkTarget", "Target", Control::Frame1, layout::kObjects1,
                  1260, 1320, &engine::ConversionOptions::chkTarget),
    layout::check(Control::chkFuture, "chkFuture", "Future object", Control::Frame1,
                  layout::kObjects2, 1500, 1320, &engine::ConversionOptions::chkFuture),
    layout::check(Control::chkTrigger, "chkTrigger", "Trigger", Control::Frame1, layout::kObjects3,
                  1155, 1320, &engine::ConversionOptions::chkTrigger),
    layout::check(Control::chkSpray, "chkSpray", "Spray", Control::Frame1, layout::kObjects1, 1260,
                  1680, &engine::ConversionOptions::chkSpray, "Sprayshop"),
    layout::check(Control::chkBomb, "chkBomb", "Bomb", Control::Frame1, layout::kObjects2, 1500,
                  1680, &engine::ConversionOptions::chkBomb, "Bombshop"),
    layout::check(Control::chkHells, "chkHells", "Hells", Control::Frame1, layout::kObjects3, 1155,
                  1680, &engine::ConversionOptions::chkHells, "GTA1 bike"),

    layout::check(Control::chkINCHEADS, "chkINCHEADS", "INC Heads", Control::fraActions,
                  layout::kActions1, 1140, 240, &engine::ConversionOptions::chkINCHEADS,
                  "increase wanted level"),
    layout::check(Control::chkMission_End, "chkMission_End", "Mission End", Control::fraActions,
                  layout::kActions2, 1260, 240, &engine::ConversionOptions::chkMission_End,
                  "Doesn't do anything yet"),
    layout::check(Control::chkEnd, "chkEnd", "Level End", Control::fraActions, layout::kActions3,
                  1155, 240, &engine::ConversionOptions::chkEnd,
                  "Ends level (best not to tick it yet)"),
    layout::check(Control::chkArrowcar, "chkArrowcar", "Arrowcar", Control::fraActions,
                  layout::kActions1, 1140, 600, &engine::ConversionOptions::chkArrowcar,
                  "point arrows at vehicles (the vehicle must exist)"),
    layout::check(Control::chkArrow, "chkArrow", "Arrow", Control::fraActions, layout::kActions2,
                  1260, 600, &engine::ConversionOptions::chkArrow,
                  "Point arrows at what they are supposed to point at (some objects don't exist "
                  "so you will have to delete those arrow lines)"),

    layout::place(ControlKind::StatusBox, Control::txtStatus, "txtStatus", {120, 4800, 7695, 1575}),

    layout::check(Control::chkSteal, "chkSteal", "Steal", Control::Frame2, layout::kObjectives1,
                  1320, 240, &engine::ConversionOptions::chkSteal,
                  "waits for player to enter a vehicle"),
    layout::check(Control::chkAnswerPhone, "chkAnswerPhone", "Answer Phone", Control::Frame2,
                  layout::kObjectives2, 1755, 240, &engine::ConversionOptions::chkAnswerPhone,
                  "waits for player to answer a phone"),
    layout::check(Control::chkPark, "chkPark", "Park", Control::Frame2, layout::kObjectives1, 1320,
                  600, &engine::ConversionOptions::chkPark,
                  "waits for player to park a vehicle in a garage"),
    layout::check(Control::chkDestroy, "chkDestroy", "Destroy", Control::Frame2,
                  layout::kObjectives2, 1755, 600, &engine::ConversionOptions::chkDestroy,
                  "waits for player to destroy an object"),
    layout::check(Control::chkMphone, "chkMphone", "MPHONE", Control::Frame2, layout::kObjectives1,
                  1320, 960, &engine::ConversionOptions::chkMphone),
    layout::check(Control::chkLocate, "chkLocate", "Locate", Control::Frame2, layout::kObjectives2,
                  1755, 960, &engine::ConversionOptions::chkLocate,
                  "waits for player to locate an object"),
    layout::check(Control::chkGoto, "chkGoto", "Goto", Control::Frame2, layout::kObjectives1, 1320,
                  1320, &engine::ConversionOptions::chkGoto,
                  "waits for player to go to a location"),
    layout::check(Control::chkIsGoalDead, "chkIsGoalDead", "Is Goal Dead", Control::Frame2,
                  layout::kObjectives2, 1755, 1320, &engine::ConversionOptions::chkIsGoalDead,
                  "checks if a ped is dead"),
    layout::check(Control::chkCheckCar, "chkCheckCar", "Check Car", Control::Frame2,
                  layout::kObjectives1, 1320, 1680, &engine::ConversionOptions::chkCheckCar,
                  "checks if player is in a specific vehicle"),

    layout::check(Control::chkUnknown, "chkUnknown", "Unknown code", Control::Frame3,
                  layout::kDebug1, 1680, 240, &engine::ConversionOptions::chkUnknown,
                  "Convert all unrecognised GTA1 code into a GTA2 comment"),
    layout::check(Control::chkDoorArrow, "chkDoorArrow", "Door hunt", Control::Frame3,
                  layout::kDebug2, 1755, 240, &engine::ConversionOptions::chkDoorArrow,
                  "points arrows at each garage door"),
    layout::check(Control::chkFutureCarArrow, "chkFutureCarArrow", "Futurecar hunt",
                  Control::Frame3, layout::kDebug1, 1680, 480,
                  &engine::ConversionOptions::chkFutureCarArrow, "points arrows at each futurecar"),
    layout::check(Control::chkPedHunt, "chkPedHunt", "Ped hunt", Control::Frame3, layout::kDebug2,
                  1755, 480, &engine::ConversionOptions::chkPedHunt, "points arrows at each ped"),
    layout::check(Control::chkPowerupRespawn, "chkPowerupRespawn", "Powerup respawn",
                  Control::Frame3, layout::kDebug1, 3375, 720,
                  &engine::ConversionOptions::chkPowerupRespawn,
                  "Makes all POWERUPs respawn (creates GENERATORS)"),

    // Wide enough for a written-back "-0.125" in the window's font; the columns stay.
    layout::place(ControlKind::OffsetBox, Control::txtXoffset, "txtXoffset", {240, 1320, 570, 285},
                  {}, "X", Control::Frame3),
    layout::place(ControlKind::OffsetBox, Control::txtYoffset, "txtYoffset", {840, 1320, 570, 285},
                  {}, "Y", Control::Frame3),
    layout::place(ControlKind::OffsetBox, Control::txtZoffset, "txtZoffset", {1440, 1320, 570, 285},
                  {}, "Z", Control::Frame3),

    layout::place(ControlKind::Button, Control::cmdConvert, "cmdConvert", {120, 4200, 3735, 495},
                  "&Convert", {}, {}, Click::Convert),
    layout::place(ControlKind::Button, Control::cmdWhatIsLeft, "cmdWhatIsLeft",
                  {120, 6495, 2535, 375}, "&What is left to do", {}, {}, Click::WhatIsLeft),

    layout::place(ControlKind::Label, Control::Label1, "Label1", {1560, 120, 1680, 255},
                  "GTA1 mission folder:"),
    layout::place(ControlKind::Label, Control::Label2, "Label2", {1560, 480, 1680, 255},
                  "GTA2 output folder:"),
    layout::place(ControlKind::Label, Control::Label3, "Label3", {240, 1080, 3375, 255},
                  "X, Y, Z coordinate offset", {}, Control::Frame3),
    // How much the last run left to do; empty until a run has ended.
    layout::place(ControlKind::Label, Control::lblWhatIsLeft, "lblWhatIsLeft",
                  {2775, 6555, 5040, 255}),
    // Clear of the Debug frame below it, which its bottom edge would touch at some font sizes.
    layout::place(ControlKind::Frame, Control::Frame1, "Frame1", {3600, 840, 4215, 2265},
                  "Objects"),
    layout::place(ControlKind::Frame, Control::Frame2, "Frame2", {120, 840, 3375, 2175},
                  "Mission objectives"),
    layout::place(ControlKind::Frame, Control::fraActions, "fraActions", {120, 3120, 3855, 975},
                  "Actions"),
    layout::place(ControlKind::Frame, Control::Frame3, "Frame3", {4080, 3120, 3735, 1695}, "Debug"),
    // 120 twips wider and taller than Convert, so a green strip shows right of it and below.
    layout::place(ControlKind::Shape, Control::Shape1, "Shape1", {120, 4200, 3855, 615}),

    // 2 pixels higher than the 195 twips of its row, keeping its bottom edge clear of the
    // frame's: the check mark needs 15 pixels in the window's font.
    layout::check(Control::chkMidPointMulti, "chkMidPointMulti", "Midpointmulti", Control::Frame1,
                  layout::kObjects2, 1500, 2010, &engine::ConversionOptions::chkMidPointMulti, {},
                  225),
    // Up to the folder labels, so that "Falvorn Company" keeps to one line in any font.
    layout::place(ControlKind::Label, Control::Label4, "Label4", {120, 120, 1425, 495},
                  "Program by Falvorn Company"),
});

// A control's place in the window, by its identifier.
constexpr const ControlPlace& placeOf(Control id) {
    return kControls[static_cast<std::size_t>(id)];
}

static_assert(
    [] {
        for (std::size_t i = 0; i < kControls.size(); ++i) {
            if (kControls[i].id != static_cast<Control>(i)) {
                return false;
            }
        }
        return kControls.back().id == Control::Label4;
    }(),
    "kControls lists every control once, in the order of Control");

} // namespace brennic::ui
