#pragma once
// The program's own events, by which the song-book window and the
// AutoUpdate wizard switch the frame's Open and AutoUpdate items off and on,
// and the count the frame keeps of them.
//
// Each window posts its disabling events once and the matching enabling
// events once when it ends: a song-book window 401h then 403h when it
// starts, 402h then 404h when it ends; the wizard 403h when it opens and
// 404h when it ends. The frame counts them, so a second song-book window
// keeps the items off until the last one has ended.

namespace shell {

namespace program_event {
inline constexpr int DisableAutoUpdate = 0x401;
inline constexpr int EnableAutoUpdate = 0x402;
inline constexpr int DisableOpenAndUpdate = 0x403;
inline constexpr int EnableOpenAndUpdate = 0x404;
}  // namespace program_event

// Posts one of the events above to the frame window (whatever window its
// thread is in at the moment, the frame counts it when its loop next runs).
// Does nothing when no frame is open.
void PostFrameEvent(int event);

class OpenGuard {
public:
    // Counts one of the four events; false for any other event.
    bool Note(int event);
    // Open: no song-book window (or wizard) holds it off.
    bool OpenAllowed() const { return openHeld_ == 0; }
    // AutoUpdate: neither a song-book window nor the wizard runs.
    bool AutoUpdateAllowed() const { return openHeld_ == 0 && updateHeld_ == 0; }

private:
    int openHeld_ = 0;    // 403h not yet matched by 404h
    int updateHeld_ = 0;  // 401h not yet matched by 402h
};

// The frame's count, read by the Quick Start panel for its buttons.
OpenGuard& FrameOpenGuard();

}  // namespace shell
