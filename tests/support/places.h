#pragma once

#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>

namespace quomble::testing {

// A control's place in its parent, found by its control name. kFitted: the size follows the
// text; kCentred: x is centreX - width / 2.
inline constexpr int kFitted = -1;
inline constexpr int kCentred = INT_MIN;
struct ControlPlace {
    const char* name;
    int x;
    int y;
    int width = kFitted;
    int height = kFitted;
};

// One window's places, checked one table row after the other.
inline void expectPlaces(const QWidget& window, std::initializer_list<ControlPlace> places, int centreX = 0)
{
    for (const ControlPlace& p : places) {
        const auto* w = window.findChild<const QWidget*>(QString::fromLatin1(p.name));
        ASSERT_NE(w, nullptr) << p.name;
        EXPECT_EQ(w->x(), p.x == kCentred ? centreX - w->width() / 2 : p.x) << p.name;
        EXPECT_EQ(w->y(), p.y) << p.name;
        if (p.width != kFitted) {
            EXPECT_EQ(w->width(), p.width) << p.name;
        }
        if (p.height != kFitted) {
            EXPECT_EQ(w->height(), p.height) << p.name;
        }
    }
}

}  // namespace quomble::testing
