#include "engine/ObjectTranslation.h"

#include "tests/engine/Harness.h"

#include <gtest/gtest.h>

namespace brennic::test {
namespace {

using engine::ConversionOptions;
using O = engine::ConversionOptions;

struct LineCase {
    const char* line;
    ConversionOptions options;
    const char* expected;
};

void expectLines(std::initializer_list<LineCase> cases) {
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(Translate_lines({c.line}, c.options), c.expected);
    }
}

// The decision: the first field of a TELEPHONE line is passed over whatever its length.
TEST(Translate_telephone, FirstFieldOfAnyLength) {
    const ConversionOptions options = Options({&O::chkPhone});
    expectLines({
        {"1 (1,1,1) TELEPHONE 0 256", options,
         "OBJ_DATA object1 = ( 1.0 , 1.0 , 1.0 ) 90 PHONE // 1\r\n"},
        {"2 (1,1,1) TELEPHONE 12 256", options,
         "OBJ_DATA object2 = ( 1.0 , 1.0 , 1.0 ) 90 PHONE // 2\r\n"},
        {"3 (1,1,1) TELEPHONE 123 512", options,
         "OBJ_DATA object3 = ( 1.0 , 1.0 , 1.0 ) 180 PHONE // 3\r\n"},
        {"4 (1,1,1) TELEPHONE 0", options,
         "OBJ_DATA object4 = ( 1.0 , 1.0 , 1.0 ) 0 PHONE // 4\r\n"},
    });
}

TEST(Translate_object, FirstMatchingKindInOrderWithItsTrailingBlank) {
    const auto on = [](engine::Switch kind) { return Options({&O::chkUnknown, kind}); };
    expectLines({
        {"14 (1,1,1) TARGET", on(&O::chkTarget), "// 14 (1,1,1) TARGET\r\n"},
        {"15 (1,1,1) TARGET_SCORE 500", on(&O::chkTarget), "DECLARE_FINISH_SCORE ( 500 )\r\n"},
        {"16 (1,1,1) FUTUREPED 0 0", on(&O::chkFuture), "// 16 (1,1,1) FUTUREPED 0 0\r\n"},
        {"17 (1,1,1) FUTURECAR 4 0", on(&O::chkFuture), "// 17 (1,1,1) FUTURECAR 4 0\r\n"},
        {"18 (1,1,1) FUTURE", on(&O::chkFuture), "// 18 (1,1,1) FUTURE\r\n"},
        {"19 (1,1,1) PED", on(&O::chkPed), "// 19 (1,1,1) PED\r\n"},
        {"20 (1,1,1) MIDPOINT_MULTI", on(&O::chkMidPointMulti), "// 20 (1,1,1) MIDPOINT_MULTI\r\n"},
        {"21 (1,1,1) MPHONE", on(&O::chkMphone), "// 21 (1,1,1) MPHONE\r\n"},
        {"22 (1,1,1) SPECIFIC_DOOR 1 11 7", on(&O::chkDoor),
         "// 22 (1,1,1) SPECIFIC_DOOR 1 11 7\r\n"},
        {"7 (10,10,2) LAMPPOST", on(&O::chkDummy), "// 7 (10,10,2) LAMPPOST\r\n"},
        {"23 (1,1,1) DUMMY_2", on(&O::chkDummy),
         "OBJ_DATA OBJECT23 = ( 1.0 , 1.0 , 1.0 ) 0 INVISIBLE_TARGET // DUMMY\r\n"},
    });
}

TEST(Translate_object, KindWithItsSwitchOffIsCommentedOnceUnderUnknown) {
    const std::initializer_list<std::string_view> lines = {
        "1 (1,1,1) DUMMY",          "2 (1,1,1) TARGET 1",     "3 (1,1,1) TRIGGER 1",
        "4 (1,1,1) TELEPHONE 0 0",  "5 (1,1,1) SPRAY",        "6 (1,1,1) BOMBSHOP",
        "7 (1,1,1) MPHONE 4",       "8 (1,1,1) MPHONES 4",    "9 (1,1,1) PED 0 0 1",
        "10 (1,1,1) FUTUREPED 0 0", "11 (1,1,1) FUTURE 1",    "12 (1,1,1) MIDPOINT_MULTI 1",
        "13 (1,1,1) FUTURECAR 4 0", "14 (1,1,1) PARKED 4 0",  "15 (1,1,1) HELLS 4 0",
        "16 (1,1,1) DOOR 1",        "17 (1,1,1) POWERUP 1 0",
    };
    std::string comments;
    for (const std::string_view line : lines) {
        comments.append("// ").append(line).append("\r\n");
    }
    EXPECT_EQ(Translate_lines(lines, Options({&O::chkUnknown})), comments);
    EXPECT_EQ(Translate_lines(lines, Options({})), "");
}

} // namespace
} // namespace brennic::test
