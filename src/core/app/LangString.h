#pragma once

#include "core/app/LanguagePack.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

// The process-wide language pack that every translatable text comes from.
// It is set once at start on the user-interface thread; reads are safe from
// any thread, also while it is being replaced.

// An empty optional means no pack is loaded.
void SetLanguagePack(std::optional<LanguagePack> pack);
bool HasLanguagePack();
// "" when no pack is loaded or the pack has no text for id.
std::string LoadLangString(int id);

// The text for id with its fields filled in order from args: each "%s" or "%d"
// takes the next argument (already formatted by the caller) and "%%" gives "%".
// A pack text is outside input, so it never reaches printf: a field with no
// argument left becomes empty, surplus arguments are dropped, and any other
// '%' sequence is kept as written.
std::string FormatLangString(int id, std::initializer_list<std::string_view> args);
