#pragma once

#include <string>

// A text for the user: a language-pack string id, or a fixed text when the
// program shows the same words in every language (id 0).
struct LangText {
    int stringId = 0;
    std::string fixed;

    static LangText Id(int id) { return LangText{id, {}}; }
    static LangText Fixed(std::string text) { return LangText{0, std::move(text)}; }
    bool operator==(const LangText&) const = default;
};
