#pragma once

#include "core/servers/HostKeyChangeText.h"

class HostKeyVerifier;
class QWidget;

// Asks the operator whether to trust the key a recorder shows now instead of
// the pinned one (the default answer is No: somebody may be in between). On
// Yes the new key is pinned through `pins`. True when the operator trusted it.
bool AskTrustNewHostKey(QWidget* parent, const HostKeyChange& change, HostKeyVerifier& pins);
