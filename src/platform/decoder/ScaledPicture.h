#pragma once

#include "platform/decoder/AlignedBuffer.h"

#include <QImage>

#include <cstdint>

// A decoded picture scaled to its pane: 32-bit RGB pixels in an aligned
// buffer, with a QImage that views them. geometry is the channel's geometry
// generation the picture was scaled for.
struct ScaledPicture {
    AlignedBuffer pixels;
    QImage image;
    uint64_t geometry = 0;
};
