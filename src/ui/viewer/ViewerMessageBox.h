#pragma once

#include "core/viewer/MessageRequest.h"

class QWidget;

// Shows a message box titled "DVR" with the request's text and icon.
void ShowViewerMessage(QWidget* parent, const MessageRequest& message);
