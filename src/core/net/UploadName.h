#pragma once

#include <optional>
#include <string>

namespace wire {

// The name an upload is stored under: trailing blanks removed (the client
// appends one); nullopt for an empty name, a name starting with '.' (".",
// "..", hidden files), or one with '/', '\' or control bytes, which could
// escape the upload folder or hide a file.
std::optional<std::string> CleanUploadName(const std::string& name);

}  // namespace wire
