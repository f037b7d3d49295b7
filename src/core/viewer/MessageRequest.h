#pragma once

#include "core/viewer/LangText.h"

enum class MessageIcon { Error, Warning, Information };

// A message box titled "DVR".
struct MessageRequest {
    LangText text;
    MessageIcon icon = MessageIcon::Information;
    bool operator==(const MessageRequest&) const = default;
};
