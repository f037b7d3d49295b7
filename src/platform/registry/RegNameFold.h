#pragma once

#include <string>

// The form in which registry key and value names are compared: upper case,
// as Windows compares them. ASCII, Latin-1, Latin Extended-A, Greek, Cyrillic
// and full-width Latin letters are folded; other characters and bytes that
// are not valid UTF-8 stay as they are.
std::string FoldRegName(const std::string& name);
