// Frames between the controllers' coordinates (origin bottom left of the
// primary screen, y up) and Qt's (top left, y down).

#include <gtest/gtest.h>

#include "platform/qt/geometry.h"

namespace tamsel::qt {
namespace {

constexpr double kPrimaryHeight = 1080;

TEST(Conversion, FramesMapBothWays) {
    struct Case {
        const char* what;
        Rect controllers;
        QRectF qt;
    };
    const Case cases[] = {
        {"the primary screen", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
        {"indicator at the top centre", {856, 1034, 208, 26}, {856, 20, 208, 26}},
        {"indicator at the bottom right", {1712, 0, 208, 26}, {1712, 1054, 208, 26}},
        {"a taller screen to the right", {1920, -120, 1280, 1200}, {1920, 0, 1280, 1200}},
        {"a smaller screen to the right", {1920, 56, 1280, 1024}, {1920, 0, 1280, 1024}},
        {"a screen above the primary", {0, 1080, 1440, 900}, {0, -900, 1440, 900}},
        {"a screen left of the primary", {-1440, 180, 1440, 900}, {-1440, 0, 1440, 900}},
        {"a break window 100 above the screen", {0, 0, 1920, 1180}, {0, -100, 1920, 1180}},
        {"a break window on the second screen", {1920, 56, 1280, 1124}, {1920, -100, 1280, 1124}},
        {"half points", {12.5, 1016.25, 200.5, 30.75}, {12.5, 33, 200.5, 30.75}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(toQt(c.controllers, kPrimaryHeight), c.qt) << c.what;
        EXPECT_EQ(fromQt(c.qt, kPrimaryHeight), c.controllers) << c.what;
    }
}

}  // namespace
}  // namespace tamsel::qt
