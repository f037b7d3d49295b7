#pragma once

#include "core/viewer/MessageRequest.h"

class QWidget;

// Shows a message box titled "DVR" with the request's text and icon, unless
// a box with the same text is still open.
void ShowViewerMessage(QWidget* parent, const MessageRequest& message);
