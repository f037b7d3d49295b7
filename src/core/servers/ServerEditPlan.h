#pragma once

#include "core/servers/ServerForm.h"

// Language-pack ids of the news when the registry refuses a change.
constexpr int kStrServerNotSaved = 7011;
constexpr int kStrServerNotDeleted = 7012;

// What Add, Modify or Delete of the configuration dialog does with a form,
// given whether a record of the form's name exists.
enum class ServerEdit { Add, Modify, Delete };

struct ServerEditPlan {
    enum class Action { Stop, Write, Remove };
    Action action = Action::Stop;
    ServerRecord record;       // what to write or whose key to remove
    LangText message;          // Stop: why; otherwise: the news after success
    FormField focus = FormField::None;  // Stop only
    // Shown instead of `message` when the registry refuses the change.
    LangText failure;
};

// Add refuses an existing name before it checks the form; Modify and Delete
// check the form first and then need the record to exist.
ServerEditPlan PlanServerEdit(ServerEdit edit, const ServerForm& form, bool recordExists);
