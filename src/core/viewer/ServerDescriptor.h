#pragma once

#include <string>

// The server name and address texts a session's row shows.
struct ServerDescriptor {
    std::string name;
    std::string address;
    bool operator==(const ServerDescriptor&) const = default;
};
