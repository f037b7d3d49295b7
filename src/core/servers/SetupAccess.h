#pragma once

#include <optional>
#include <string>

// Who may open the recorder's remote setup.

// A server slot's administrator flag after a log-on notification: 1 when the
// recorder accepted an administrator log-on (101), 0 in user mode (102);
// empty for any other code, which leaves the flag as it was.
std::optional<int> AdminFlagForNotify(int code);

// The remote-setup button is enabled exactly when the current slot's flag is 1.
bool SetupButtonEnabled(int adminFlag);

// The setup log-in: an empty password never passes (not even when the
// recorder's own is empty); otherwise it must equal the administrator
// password the recorder reported, case and all.
bool SetupPasswordAccepted(const std::string& typed, const std::string& dvrAdminPassword);
