#include "platform/video/LiveMediaCallback.h"

#include "platform/video/LiveSessionState.h"

void LiveMediaCallback(void* context, unsigned char, unsigned char type, unsigned char* packet, unsigned int length)
{
    auto* session = static_cast<LiveSessionState*>(context);
    if (session == nullptr)
        return;
    session->AddReceivedBytes(length);
    if (type == kLivePacketVideo)
        session->OnVideoPacket(packet, length);
    else if (type == kLivePacketAudio)
        session->OnAudioPacket(packet, length);
}
