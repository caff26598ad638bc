#pragma once
// The event and key codes the browse and the progress process act on, for
// code that works on data files: platform/ui/events.h cannot be included
// beside platform/data/file.h (each declares its own fw::Key). browse_list.cpp
// checks that these equal the window layer's codes.

namespace shell::codes {

inline constexpr int Accepted = 0x01;
inline constexpr int NewSelection = 0x02;
inline constexpr int ScrollUp = 0x03;
inline constexpr int ScrollDown = 0x04;
inline constexpr int PageUp = 0x05;
inline constexpr int PageDown = 0x06;
inline constexpr int ScrollTop = 0x07;
inline constexpr int ScrollBottom = 0x08;
inline constexpr int AlertKey = 0x0F;
inline constexpr int ScrollDrag = 0x14;
inline constexpr int CloseWindow = 0x201;
inline constexpr int OpenWindow = 0x203;
inline constexpr int GainFocus = 0x206;
inline constexpr int Timer = 0x20B;

inline constexpr int MouseRight = 0x02;
inline constexpr int MouseLeft2 = 0x05;
inline constexpr int Up = 0x26;
inline constexpr int Down = 0x28;
inline constexpr int PgUp = 0x21;
inline constexpr int PgDn = 0x22;
inline constexpr int Home = 0x24;
inline constexpr int End = 0x23;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int Ctrl = 0x200;
inline constexpr int CtrlEnter = Ctrl | 0x0D;

}  // namespace shell::codes
