#pragma once

#include "core/ptz/PtzEntryPoints.h"

#include <optional>

// Steering from the keyboard: a key press sends one command and its release
// one BreakPTZ, however long the key's auto-repeat runs. Auto-repeat is not
// always marked as such (X servers send it as release-press pairs that the
// toolkit may miss under load), so a release only stops the camera once it
// has settled: no press of the same key followed within kReleaseSettleMs.
// Digits 1..9 call a preset; with the set modifier they store the camera's
// position under it.

namespace ptz {

enum class PtzKey { None, Left, Right, Up, Down, ZoomIn, ZoomOut, Digit };

struct PtzKeyAction {
    enum class Kind { Command, Preset };
    Kind kind = Kind::Command;
    Command command = Command::BreakPTZ;
    PresetAction preset = PresetAction::Call;
    unsigned presetNumber = 0;
};

class PtzKeyState {
public:
    static constexpr int kReleaseSettleMs = 100;

    // digit is 1..9 for PtzKey::Digit; setModifier picks PresetSet over
    // PresetCall. Auto-repeated presses and releases change nothing.
    std::optional<PtzKeyAction> Press(PtzKey key, int digit, bool setModifier, bool autoRepeat);
    // Nothing at once: a release of the held key leaves a pending release.
    void Release(PtzKey key, bool autoRepeat);
    bool ReleasePending() const { return m_releasePending; }
    // kReleaseSettleMs after the last release: the stop, when it still stands.
    std::optional<PtzKeyAction> Settle();
    // The keys are no longer heard (panel hidden, focus lost): a held
    // movement is stopped.
    std::optional<PtzKeyAction> Cancel();

    PtzKey Held() const { return m_held; }

private:
    PtzKey m_held = PtzKey::None;
    bool m_releasePending = false;
};

}  // namespace ptz
