#pragma once
// The per-thread calling state through which procedures call one another:
// the requested action, the outcome, the form-navigation request and the
// file use counters. Each program thread has its own copy, zero at its start;
// a called procedure shares its caller's.

#include <cstdint>

namespace shell {

// Values of RequestedAction.
namespace action {
inline constexpr std::int32_t None = 0;
inline constexpr std::int32_t Insert = 1;
inline constexpr std::int32_t Change = 2;
inline constexpr std::int32_t Delete = 3;
inline constexpr std::int32_t Select = 4;
}  // namespace action

// Values of ActionOutcome.
namespace outcome {
inline constexpr std::int32_t None = 0;
inline constexpr std::int32_t Completed = 1;  // carried out, or a record was selected
inline constexpr std::int32_t Cancelled = 2;  // cancelled or nothing done
}  // namespace outcome

struct CallingState {
    // What a caller asks of the form or browse it calls; the callee copies it and sets it to 0.
    std::int32_t RequestedAction;
    // What a called procedure reports on return: 2 unless it completed.
    std::int32_t ActionOutcome;
    // Always 0: no window sets it, so each form is called once per command.
    std::int32_t FormNavigationRequest;

    // How many procedures of this thread hold each global file open.
    std::int32_t KaraokeOpenCount;
    std::int32_t DiscsOpenCount;
    std::int32_t DMakeOpenCount;
    std::int32_t MakeIdOpenCount;
    std::int32_t SArtistOpenCount;
    std::int32_t STitleOpenCount;
    std::int32_t GenreOpenCount;
    std::int32_t SongBookOpenCount;
    std::int32_t SBDiscsOpenCount;
    std::int32_t SongBook11OpenCount;
    std::int32_t SBDiscs11OpenCount;
    std::int32_t SongBook15OpenCount;
    std::int32_t TagFileOpenCount;
    std::int32_t AutoUpdateListOpenCount;
};

// The current thread's calling state.
CallingState& Calling();

inline std::int32_t& RequestedAction() { return Calling().RequestedAction; }
inline std::int32_t& ActionOutcome() { return Calling().ActionOutcome; }
inline std::int32_t& FormNavigationRequest() { return Calling().FormNavigationRequest; }

}  // namespace shell
