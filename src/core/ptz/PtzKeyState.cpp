#include "core/ptz/PtzKeyState.h"

namespace ptz {
namespace {

std::optional<Command> MovementOf(PtzKey key)
{
    switch (key) {
    case PtzKey::Left: return Command::PanLeft;
    case PtzKey::Right: return Command::PanRight;
    case PtzKey::Up: return Command::TiltUp;
    case PtzKey::Down: return Command::TiltDown;
    case PtzKey::ZoomIn: return Command::ZoomIn;
    case PtzKey::ZoomOut: return Command::ZoomOut;
    default: return std::nullopt;
    }
}

PtzKeyAction CommandAction(Command command)
{
    PtzKeyAction action;
    action.command = command;
    return action;
}

}  // namespace

std::optional<PtzKeyAction> PtzKeyState::Press(PtzKey key, int digit, bool setModifier, bool autoRepeat)
{
    if (autoRepeat)
        return std::nullopt;
    if (key == PtzKey::Digit) {
        if (digit < 1 || digit > 9)
            return std::nullopt;
        PtzKeyAction action;
        action.kind = PtzKeyAction::Kind::Preset;
        action.preset = setModifier ? PresetAction::Set : PresetAction::Call;
        action.presetNumber = static_cast<unsigned>(digit);
        return action;
    }
    const auto command = MovementOf(key);
    if (!command)
        return std::nullopt;
    if (key == m_held) {
        // The press of a release-press pair: the key never went up.
        m_releasePending = false;
        return std::nullopt;
    }
    // A second key takes over the movement; only its release stops it.
    m_held = key;
    m_releasePending = false;
    return CommandAction(*command);
}

void PtzKeyState::Release(PtzKey key, bool autoRepeat)
{
    if (!autoRepeat && key != PtzKey::None && key == m_held)
        m_releasePending = true;
}

std::optional<PtzKeyAction> PtzKeyState::Settle()
{
    if (!m_releasePending)
        return std::nullopt;
    return Cancel();
}

std::optional<PtzKeyAction> PtzKeyState::Cancel()
{
    m_releasePending = false;
    if (m_held == PtzKey::None)
        return std::nullopt;
    m_held = PtzKey::None;
    return CommandAction(Command::BreakPTZ);
}

}  // namespace ptz
