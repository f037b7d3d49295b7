#pragma once

#include "platform/decoder/AlignedBuffer.h"

#include <QImage>

#include <cstdint>

// A decoded picture scaled to its pane: 32-bit RGB pixels in an aligned
// buffer, with a QImage that views them. geometry is the channel's geometry
// generation the picture was scaled for; pts the stream's time stamp of the
// picture (90 kHz), -1 when it had none.
struct ScaledPicture {
    AlignedBuffer pixels;
    QImage image;
    uint64_t geometry = 0;
    int64_t pts = -1;
};
