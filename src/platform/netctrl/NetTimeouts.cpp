#include "platform/netctrl/NetTimeouts.h"

#include <cstdlib>

NetTimeouts NetTimeouts::FromEnvironment()
{
    using std::chrono::milliseconds;
    NetTimeouts t{milliseconds(300), milliseconds(4000), milliseconds(4000)};
    if (const char* text = std::getenv("OMBREL_NET_TIMEOUT_MS")) {
        char* end = nullptr;
        long value = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && value >= 50 && value <= 60000) {
            t.answer = milliseconds(value);
            t.connect = milliseconds(value);
            if (t.createWait > t.connect)
                t.createWait = t.connect;
        }
    }
    return t;
}
