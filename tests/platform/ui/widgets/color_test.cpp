#include "platform/ui/widgets/color.h"

#include <gtest/gtest.h>

namespace fw::ui {
namespace {

TEST(Color, FrameworkValuesAreBlueGreenRed) {
    struct Case {
        std::int32_t bgr;
        QColor color;
    } cases[] = {
        {0x0000FF, QColor(255, 0, 0)},    // red
        {0x800040, QColor(0x40, 0, 0x80)},
        {0x008000, QColor(0, 0x80, 0)},
        {0x00FFFF, QColor(255, 255, 0)},  // yellow
        {0xFFFFFF, QColor(255, 255, 255)},
        {0, QColor(0, 0, 0)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorFromBgr(c.bgr), c.color) << std::hex << c.bgr;
        EXPECT_EQ(ToBgr(c.color), c.bgr) << std::hex << c.bgr;
    }
}

TEST(Color, NegativeValuesMeanTheDefault) {
    EXPECT_FALSE(ColorFromBgr(-1).isValid());
    EXPECT_FALSE(ColorFromBgr(static_cast<std::int32_t>(0x80000005u)).isValid());  // a system colour
    EXPECT_EQ(ToBgr(QColor()), -1);
    EXPECT_EQ(ColorFromBgr(0x01FFFFFF), QColor(255, 255, 255));  // the unused top byte is ignored
}

}  // namespace
}  // namespace fw::ui
