// Whole-sentence templates: a translation may put the pieces in any order.

#include <gtest/gtest.h>

#include "common/translate.h"

namespace tamsel {
namespace {

TEST(Fill, PutsEachPieceWhereItsNumberStandsAndNothingElse) {
    const struct {
        const char* text;
        std::initializer_list<std::string_view> args;
        const char* filled;
    } cases[] = {
        {"%2 h %1 min", {"5", "1"}, "1 h 5 min"},
        {"%1 %1", {"x"}, "x x"},
        {"%1", {"%2"}, "%2"},  // a piece is never filled in again
        {"100 % of %1", {"it"}, "100 % of it"},
        {"%3 and %0", {"a"}, "%3 and %0"},
        {"ends in %", {"a"}, "ends in %"},
    };
    for (const auto& c : cases) EXPECT_EQ(fill(c.text, c.args), c.filled) << c.text;
}

}  // namespace
}  // namespace tamsel
