#pragma once

#include <array>

// The configuration dialog's language list. A row is the stored language
// index: 0 English, 1 Chinese, 2 Japanese.
inline constexpr std::array<const char*, 3> kLanguageNames = {"English", "Chinese", "Japanese"};

// The row showing a stored language index; -1 (no row) for an index that
// names no language, so the list shows no text.
int LanguageListRow(int languageIndex);
