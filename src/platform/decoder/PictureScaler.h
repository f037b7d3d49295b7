#pragma once

#include "platform/decoder/AlignedBufferPool.h"
#include "platform/decoder/ScaledPicture.h"
#include "platform/decoder/VideoRect.h"

#include <memory>

struct AVFrame;
struct SwsContext;

// Crops a decoded picture to its viewport and scales it to the pane size, as
// 32-bit RGB. It resizes in YUV first and converts the small picture to RGB
// after: the converter has a vector path only when it does not also resize,
// which makes the two passes cost half of one for the usual pane sizes. Keeps
// its contexts between pictures of the same shape, and the pixel buffers of
// the pictures it made once the last holder lets them go. Not thread-safe:
// one user at a time.
class PictureScaler {
public:
    PictureScaler();
    ~PictureScaler();
    PictureScaler(const PictureScaler&) = delete;
    PictureScaler& operator=(const PictureScaler&) = delete;

    // Null when the sizes are empty or the frame's format cannot be scaled.
    std::shared_ptr<const ScaledPicture> Scale(const AVFrame* frame, const VideoRect& viewport, int width,
                                               int height, uint64_t geometry);

    // Fast bilinear for small panes (nine or sixteen panes of the window),
    // bilinear for larger ones; never bicubic on the live path.
    static int ScalingFlags(int width, int height);

private:
    // What the scaling context was made for.
    struct Shape {
        int sourceWidth = 0;
        int sourceHeight = 0;
        int format = -1;
        int width = 0;
        int height = 0;
        bool fullRange = false;
        bool operator==(const Shape&) const = default;
    };

    bool Prepare(const Shape& shape);
    void Release();

    SwsContext* m_resize = nullptr;   // source crop to YUV 4:2:0 at the pane size
    SwsContext* m_convert = nullptr;  // that to RGB
    AVFrame* m_resized = nullptr;
    Shape m_shape;
    // Shared with the pictures, which may outlive the scaler.
    std::shared_ptr<AlignedBufferPool> m_buffers;
};
