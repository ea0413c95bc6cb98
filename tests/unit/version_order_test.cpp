// Which server texts are offered as an update, and what a refusal keeps,
// read the same in English and German (where C's own functions write 2,7).

#include <clocale>
#include <string>

#include "engine/version_check.h"
#include "fixture.h"

namespace tamsel::test {

struct Offer {
    double skipped;             // skipVersion before the check; 0: none
    const char* text;           // what the server says
    bool asked;                 // the update alert shows
    const char* keptAsSkipped;  // skipVersion rendered after "No, skip"; "" when unasked
};

// The running version is 2.6.
const Offer kOffers[] = {
    {0, "2.6", false, ""},      {0, "2.6.0", false, ""},     {0, "1.0", false, ""},
    {0, "2.5.9", false, ""},    {0, "2.7", true, "2.7"},     {2.7, "2.7", false, ""},
    {2.5, "2.7", true, "2.7"},  {2.7, "2.8", true, "2.8"},   {0, "3", true, "3.0"},
    {3, "3", false, ""},        {3, "3.0", false, ""},       {0, "2.10", true, "2.1"},
    {3.1, "3.10", true, "3.1"}, {2.7, "2.7.1", true, "2.7"}, {0, "10", true, "10.0"},
};

class VersionOrder : public SimTest {
protected:
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};

TEST_F(VersionOrder, OnlyNewerVersionsAreOfferedAndARefusalIsRecognisedInEveryLanguage) {
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        // The program runs with the desktop's language (Qt sets it so).
        ASSERT_NE(std::setlocale(LC_ALL, locale), nullptr)
            << locale << " is missing: make deps generates it (localedef -i de_DE -f UTF-8)";
        for (const Offer& o : kOffers) {
            SCOPED_TRACE(std::string(locale) + " skipped " + std::to_string(o.skipped) + ", " +
                         o.text);
            sim.dialogs.shown.clear();
            sim.settings.values.clear();
            if (o.skipped != 0) sim.settings.setDouble("skipVersion", o.skipped);
            sim.network.server = [&o](const std::string&) {
                return sim::SimNetwork::Reply{{true, o.text, ""}, 0.1};
            };
            if (o.asked) sim.dialogs.pressButton(kAlertFirstButtonReturn + 1);
            runVersionCheck();
            EXPECT_EQ(sim.dialogs.shown.size(), o.asked ? 1u : 0u);
            if (!o.asked) continue;
            EXPECT_EQ(renderVersion(sim.settings.doubleForKey("skipVersion")), o.keptAsSkipped);
            // The same text again: recognised as refused, unless a number
            // cannot hold it ("2.10" is kept as 2.1, an older version).
            const bool heldWhole = std::string(o.text) == o.keptAsSkipped ||
                                   std::string(o.text) + ".0" == o.keptAsSkipped;
            if (!heldWhole) sim.dialogs.pressButton(kAlertFirstButtonReturn + 1);
            runVersionCheck();
            EXPECT_EQ(sim.dialogs.shown.size(), heldWhole ? 1u : 2u);
        }
    }
}

}  // namespace tamsel::test
