#pragma once
// BEEP: the desktop's alert sound. Tests replace the sound with a counter.

#include <functional>

namespace fw {

// The framework's sound codes; every one plays the desktop's alert sound.
enum BeepSound : unsigned { BeepSystemDefault = 0, BeepSystemHand = 16, BeepSystemQuestion = 32,
                            BeepSystemExclamation = 48, BeepSystemAsterisk = 64 };

void BEEP(unsigned sound = BeepSystemDefault);

// Replaces what BEEP does; an empty handler restores the desktop's sound.
void SetBeepHandler(std::function<void(unsigned)> handler);

}  // namespace fw
