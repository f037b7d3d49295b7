#include "platform/decoder/PictureScaler.h"

#include <cstdint>

extern "C" {
#include <libavutil/frame.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

constexpr int kSmallPaneArea = 400 * 300;
constexpr int kRowAlignment = 64;
// One picture in the slot, one being painted, one being made.
constexpr std::size_t kSparePictures = 3;

// The deprecated full-range formats of JPEG-style decoders, as their plain
// twin plus a full-range flag, so the scaler reads the range right.
AVPixelFormat PlainFormat(AVPixelFormat format, bool* fullRange)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P: *fullRange = true; return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P: *fullRange = true; return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P: *fullRange = true; return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P: *fullRange = true; return AV_PIX_FMT_YUV440P;
    default: return format;
    }
}

} // namespace

PictureScaler::PictureScaler() : m_buffers(std::make_shared<AlignedBufferPool>(kSparePictures, 0))
{
}

PictureScaler::~PictureScaler()
{
    sws_freeContext(m_context);
}

int PictureScaler::ScalingFlags(int width, int height)
{
    return width * height < kSmallPaneArea ? SWS_FAST_BILINEAR : SWS_BILINEAR;
}

std::shared_ptr<const ScaledPicture> PictureScaler::Scale(const AVFrame* frame, const VideoRect& viewport,
                                                          int width, int height, uint64_t geometry)
{
    if (!frame || width <= 0 || height <= 0 || frame->width <= 0 || frame->height <= 0)
        return nullptr;
    bool fullRange = frame->color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat format = PlainFormat(AVPixelFormat(frame->format), &fullRange);
    const AVPixFmtDescriptor* desc = av_pix_fmt_desc_get(format);
    if (!desc || (desc->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_BITSTREAM)))
        return nullptr;

    // The crop starts on a chroma sample so every plane moves by whole samples.
    VideoRect crop = ClipViewport(viewport, frame->width, frame->height);
    const int xStep = 1 << desc->log2_chroma_w;
    const int yStep = 1 << desc->log2_chroma_h;
    crop.left -= crop.left % xStep;
    crop.top -= crop.top % yStep;

    const uint8_t* source[4] = {};
    for (int plane = 0; plane < 4 && frame->data[plane]; ++plane) {
        const bool chroma = (plane == 1 || plane == 2) && !(desc->flags & AV_PIX_FMT_FLAG_RGB);
        const int x = chroma ? crop.left >> desc->log2_chroma_w : crop.left;
        const int y = chroma ? crop.top >> desc->log2_chroma_h : crop.top;
        const int bytesPerPixel = (desc->flags & AV_PIX_FMT_FLAG_PLANAR) ? (desc->comp[0].step)
                                                                          : av_get_padded_bits_per_pixel(desc) / 8;
        source[plane] = frame->data[plane] + ptrdiff_t(y) * frame->linesize[plane] + ptrdiff_t(x) * bytesPerPixel;
    }

    // Setting the colour details rebuilds the conversion tables: only for a new shape.
    const Shape shape{crop.Width(), crop.Height(), format, width, height, fullRange};
    if (!m_context || !(shape == m_shape)) {
        m_context = sws_getCachedContext(m_context, shape.sourceWidth, shape.sourceHeight, format, width, height,
                                         AV_PIX_FMT_BGRA, ScalingFlags(width, height), nullptr, nullptr, nullptr);
        if (!m_context)
            return nullptr;
        const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
        sws_setColorspaceDetails(m_context, coefficients, fullRange ? 1 : 0, coefficients, 1, 0, 1 << 16, 1 << 16);
        m_shape = shape;
    }

    const int stride = (width * 4 + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    std::shared_ptr<ScaledPicture> picture(new ScaledPicture, [pool = m_buffers](ScaledPicture* done) {
        pool->Give(std::move(done->pixels));
        delete done;
    });
    picture->pixels = m_buffers->Take(size_t(stride) * size_t(height));
    uint8_t* destination[4] = {picture->pixels.Data(), nullptr, nullptr, nullptr};
    const int destinationStride[4] = {stride, 0, 0, 0};
    if (sws_scale(m_context, source, frame->linesize, 0, crop.Height(), destination, destinationStride) != height)
        return nullptr;
    // BGRA bytes are QImage's 0xAARRGGBB words on a little-endian machine.
    picture->image = QImage(picture->pixels.Data(), width, height, stride, QImage::Format_RGB32);
    picture->geometry = geometry;
    return picture;
}
