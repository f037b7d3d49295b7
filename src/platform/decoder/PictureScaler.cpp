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
    Release();
}

void PictureScaler::Release()
{
    sws_freeContext(m_resize);
    sws_freeContext(m_convert);
    av_frame_free(&m_resized);
    m_resize = nullptr;
    m_convert = nullptr;
    m_shape = Shape{};
}

bool PictureScaler::Prepare(const Shape& shape)
{
    if (m_resize && shape == m_shape)
        return true;
    Release();
    const auto format = AVPixelFormat(shape.format);
    m_resize = sws_getContext(shape.sourceWidth, shape.sourceHeight, format, shape.width, shape.height,
                              AV_PIX_FMT_YUV420P, ScalingFlags(shape.width, shape.height), nullptr, nullptr, nullptr);
    m_convert = sws_getContext(shape.width, shape.height, AV_PIX_FMT_YUV420P, shape.width, shape.height,
                               AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
    m_resized = av_frame_alloc();
    if (!m_resize || !m_convert || !m_resized) {
        Release();
        return false;
    }
    m_resized->format = AV_PIX_FMT_YUV420P;
    m_resized->width = shape.width;
    m_resized->height = shape.height;
    if (av_frame_get_buffer(m_resized, 0) < 0) {
        Release();
        return false;
    }
    // Setting the colour details rebuilds the conversion tables: only for a
    // new shape. The resize keeps the source's range, the conversion reads it.
    const int* coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
    const int range = shape.fullRange ? 1 : 0;
    sws_setColorspaceDetails(m_resize, coefficients, range, coefficients, range, 0, 1 << 16, 1 << 16);
    sws_setColorspaceDetails(m_convert, coefficients, range, coefficients, 1, 0, 1 << 16, 1 << 16);
    m_shape = shape;
    return true;
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

    if (!Prepare(Shape{crop.Width(), crop.Height(), format, width, height, fullRange}))
        return nullptr;

    const int stride = (width * 4 + kRowAlignment - 1) / kRowAlignment * kRowAlignment;
    std::shared_ptr<ScaledPicture> picture(new ScaledPicture, [pool = m_buffers](ScaledPicture* done) {
        pool->Give(std::move(done->pixels));
        delete done;
    });
    picture->pixels = m_buffers->Take(size_t(stride) * size_t(height));
    uint8_t* destination[4] = {picture->pixels.Data(), nullptr, nullptr, nullptr};
    const int destinationStride[4] = {stride, 0, 0, 0};
    if (sws_scale(m_resize, source, frame->linesize, 0, crop.Height(), m_resized->data, m_resized->linesize) !=
            height ||
        sws_scale(m_convert, m_resized->data, m_resized->linesize, 0, height, destination, destinationStride) !=
            height)
        return nullptr;
    // BGRA bytes are QImage's 0xAARRGGBB words on a little-endian machine.
    picture->image = QImage(picture->pixels.Data(), width, height, stride, QImage::Format_RGB32);
    picture->geometry = geometry;
    picture->pts = frame->pts == AV_NOPTS_VALUE ? -1 : frame->pts;
    return picture;
}
