#include "shell/window_resize.h"

#include <gtest/gtest.h>

namespace {

using namespace shell;

const std::vector<ControlGeometry> kControls = {
    {3, 7, {100, 40, 80, 20}},
    {1, control_type::String, {10, 10, 1, 12}},  // a separator line drawn as a string of width 1
    {2, control_type::Menu, {0, 0, 50, 10}},
    {4, control_type::Item, {0, 0, 50, 10}},
    {5, control_type::None, {0, 0, 0, 0}},
    {6, control_type::String, {30, 60, 45, 12}},
};

TEST(WindowResize, ScalesFromTheInitialGeometry) {
    WindowResizeState s;
    InitWindowResize(s, {0, 0, 400, 300}, kControls);
    ASSERT_EQ(s.controls.size(), 3u);  // menus and empty numbers are left out
    EXPECT_EQ(s.controls[0].id, 1);    // by control number

    // Twice as wide: x and width doubled, y and height unchanged.
    const auto wide = ResizeWindowControls(s, {5, 5, 800, 300});
    ASSERT_TRUE(wide);
    EXPECT_EQ(*wide, (std::vector<ControlGeometry>{{1, control_type::String, {20, 10, 1, 12}},
                                                    {3, 7, {200, 40, 160, 20}},
                                                    {6, control_type::String, {60, 60, 90, 12}}}));
    // A move without a size change changes nothing.
    EXPECT_FALSE(ResizeWindowControls(s, {50, 60, 800, 300}));

    // Ratios to four places, results cut: 333/400 = 0.8325, 100/300 = 0.3333.
    const auto odd = ResizeWindowControls(s, {0, 0, 333, 100});
    ASSERT_TRUE(odd);
    EXPECT_EQ((*odd)[1].geometry, (WindowGeometry{83, 13, 66, 6}));

    // Back to the initial size: exactly the initial geometry.
    const auto back = ResizeWindowControls(s, {0, 0, 400, 300});
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, s.controls);

    EndWindowResize(s);
    EndWindowResize(s);
    EXPECT_FALSE(ResizeWindowControls(s, {0, 0, 500, 500}));
}

// The products are those of decimal arithmetic: 0.29, 0.57, 0.58 and 1.13
// have no exact binary fraction, and their products with 100 must not come
// out one short.
TEST(WindowResize, ScaledValuesAreTheWholeNumbersOfTheDecimalProducts) {
    struct Case {
        int newWidth;
        int scaled;  // of x = 100 at an initial width of 100
    };
    const Case cases[] = {{29, 29}, {57, 57}, {58, 58}, {113, 113}, {333, 333}, {7, 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.newWidth);
        WindowResizeState s;
        InitWindowResize(s, {0, 0, 100, 100}, {{1, 7, {100, 0, 100, 10}}});
        const auto r = ResizeWindowControls(s, {0, 0, c.newWidth, 100});
        ASSERT_TRUE(r);
        EXPECT_EQ((*r)[0].geometry, (WindowGeometry{c.scaled, 0, c.scaled, 10}));
    }
    // 2/3 kept to four places is 0.6667: 300 x 0.6667 = 200.01, cut to 200.
    WindowResizeState s;
    InitWindowResize(s, {0, 0, 300, 300}, {{1, 7, {300, 0, 3, 30}}});
    const auto r = ResizeWindowControls(s, {0, 0, 200, 300});
    ASSERT_TRUE(r);
    EXPECT_EQ((*r)[0].geometry, (WindowGeometry{200, 0, 2, 30}));
}

TEST(WindowResize, WindowOpenedWithNoSizeIsNotDividedByZero) {
    WindowResizeState s;
    InitWindowResize(s, {0, 0, 0, 0}, kControls);
    const auto r = ResizeWindowControls(s, {0, 0, 640, 480});
    ASSERT_TRUE(r);
    EXPECT_EQ((*r)[1].geometry, (WindowGeometry{100, 40, 80, 20}));
}

}  // namespace
