#pragma once

#include "core/viewer/LangText.h"

#include <QString>

// The words of a text for the user: the language pack's, or the fixed text.
// An id the pack lacks shows as its number, so the line is never blank.
QString TextOf(const LangText& text);
