#pragma once

#include <initializer_list>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A command's own arguments: "--name VALUE" options, each known name at most
// once, and the words between them in order.
struct CommandArguments {
    std::map<std::string, std::string> options;
    std::vector<std::string> words;

    // Nullopt with a one-line reason in *error for an unknown or repeated
    // option or one without its value.
    static std::optional<CommandArguments> Parse(const std::vector<std::string>& args,
                                                 std::initializer_list<const char*> names, std::string* error);
};

// A whole decimal number from low to high; nullopt for anything else.
std::optional<int> ParseBoundedNumber(const std::string& text, int low, int high);
