#pragma once

#include <QString>

#include <optional>
#include <vector>

class QWidget;

// For unattended runs (a demo with no display, a screenshot for a person to
// look at): with OMBREL_SCREENSHOT=PATH the window is saved as a PNG once it
// has settled (or after OMBREL_SCREENSHOT_AFTER_MS milliseconds) and
// "screenshot: PATH" is printed; with OMBREL_EXIT_AFTER_MS=N the window closes
// by itself after N milliseconds; with
// OMBREL_CONNECT=HOST:PORT:PROTOCOL:ACCOUNT:PASSWORD the main window connects
// to that recorder at start (several, separated by spaces, one after another,
// as an operator would: the soak of scripts/soak.sh watches four); with
// OMBREL_SEED_SERVER=1 a registry without server records gets the record of
// the demo's recorder emulator. Without them, nothing. The unattended exit
// closes any message box still open first, so it ends even then.
void ArmDemoAutomation(QWidget* window);

struct DemoConnection {
    QString host, port, protocol, account, password;
};

// HOST:PORT:PROTOCOL:ACCOUNT:PASSWORD; the password is the rest of the text
// and may hold ':'. Empty when a field before it is missing.
std::optional<DemoConnection> ParseDemoConnection(const QString& text);
// Connections separated by white space; empty when any one is malformed.
std::vector<DemoConnection> ParseDemoConnections(const QString& text);
