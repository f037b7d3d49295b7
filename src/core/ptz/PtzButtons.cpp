#include "core/ptz/PtzButtons.h"

namespace ptz {

std::optional<Command> CommandForButton(int id, ButtonAction action)
{
    for (const PtzButton& button : kPtzButtons) {
        if (button.id != id || !button.held)
            continue;
        return action == ButtonAction::LeftDown ? *button.held : Command::BreakPTZ;
    }
    return std::nullopt;
}

}  // namespace ptz
