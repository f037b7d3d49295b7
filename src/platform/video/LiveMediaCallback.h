#pragma once

// The network library's live media callback. context is the session's
// LiveSessionState; type 2 is video, 3 audio; a packet is
// [fragment count][fragment index][payload]. Every packet's length is counted;
// video and (while the session's audio is on) audio units are rebuilt and
// handed to the decoder. Runs on the library's thread.
void LiveMediaCallback(void* context, unsigned char, unsigned char type, unsigned char* packet, unsigned int length);

constexpr unsigned char kLivePacketVideo = 2;
constexpr unsigned char kLivePacketAudio = 3;
