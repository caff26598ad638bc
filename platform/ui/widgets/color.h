#pragma once
// Colours as the framework gives them: a LONG 00BBGGRRh (red in the low
// byte). Negative values (COLOR:None and the system colours) mean "the
// control's default" and map to an invalid QColor.

#include <QColor>
#include <cstdint>

namespace fw::ui {

// 00BBGGRRh -> QColor; a negative value gives an invalid QColor.
QColor ColorFromBgr(std::int32_t bgr);
// QColor -> 00BBGGRRh; an invalid QColor gives -1.
std::int32_t ToBgr(const QColor& color);

}  // namespace fw::ui
