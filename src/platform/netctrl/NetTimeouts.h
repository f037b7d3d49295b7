#pragma once

#include <chrono>

// Time limits of the network library. The defaults suit a recorder on a LAN;
// OMBREL_NET_TIMEOUT_MS shortens the answer limit (and the connect limit with
// it) so that tests of silent recorders finish quickly.
struct NetTimeouts {
    // How long Create waits for the connection before it returns; a connection
    // still pending then is finished by the session thread.
    std::chrono::milliseconds createWait;
    // Total time a connection may take before code 100 is reported.
    std::chrono::milliseconds connect;
    // Requests unanswered this long mean the recorder stopped answering (108).
    std::chrono::milliseconds answer;

    static NetTimeouts FromEnvironment();
};
