#pragma once

#include "core/viewer/ServerDescriptor.h"

#include <optional>
#include <string>

// What the information panel shows of the current session's recorder.
struct ServerTexts {
    std::string name;
    std::string address;
    std::string model;
    std::string encoder;  // empty until the settings block came
    bool operator==(const ServerTexts&) const = default;
};

// `recordModel` is the model name of the server record the session was opened
// from (empty when it was not picked from one); `dvrType` is the settings
// block's type code once the block came. The recorder's own type wins once
// known, shown by its default model name: the record's name is only what the
// user guessed, and the rest of the window follows the block.
ServerTexts DescribeServer(const ServerDescriptor& server, const std::string& recordModel,
                           std::optional<int> dvrType);
