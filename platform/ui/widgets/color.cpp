#include "platform/ui/widgets/color.h"

namespace fw::ui {

QColor ColorFromBgr(std::int32_t bgr) {
    if (bgr < 0) return {};
    const auto v = static_cast<std::uint32_t>(bgr);
    return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF));
}

std::int32_t ToBgr(const QColor& color) {
    if (!color.isValid()) return -1;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(color.red()) |
                                     (static_cast<std::uint32_t>(color.green()) << 8) |
                                     (static_cast<std::uint32_t>(color.blue()) << 16));
}

}  // namespace fw::ui
