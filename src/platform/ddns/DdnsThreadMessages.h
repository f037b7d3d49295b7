#pragma once
// Messages posted to a DDNS lookup thread's queue.

namespace ddns {

constexpr unsigned kMsgResolve = 0x13a0;        // 5024, from the caller: connect and send the query
constexpr unsigned kMsgQuit = 0x13a1;           // 5025, from the caller: close the socket and end
constexpr unsigned kMsgSocketClosed = 0x0fb8;   // 4024, from the socket: the server hung up
constexpr unsigned kMsgReplyComplete = 0x0fb9;  // 4025, from the socket: a whole reply arrived

}  // namespace ddns
