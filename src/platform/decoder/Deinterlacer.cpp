#include "platform/decoder/Deinterlacer.h"

#include <cstdint>

extern "C" {
#include <libavfilter/avfilter.h>
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/frame.h>
}

#include <new>
#include <string>

Deinterlacer::Deinterlacer() : m_input(av_frame_alloc()), m_output(av_frame_alloc())
{
    if (!m_input || !m_output) {
        av_frame_free(&m_input);
        av_frame_free(&m_output);
        throw std::bad_alloc();
    }
}

Deinterlacer::~Deinterlacer()
{
    Reset();
    av_frame_free(&m_input);
    av_frame_free(&m_output);
}

void Deinterlacer::Reset()
{
    avfilter_graph_free(&m_graph);
    m_source = nullptr;
    m_sink = nullptr;
    m_format = -1;
    m_sourcePts.clear();
}

void Deinterlacer::Flush(const FrameSink& sink)
{
    if (!m_graph)
        return;
    if (av_buffersrc_add_frame(m_source, nullptr) >= 0)
        Drain(sink);
    Reset();
}

void Deinterlacer::Drain(const FrameSink& sink)
{
    while (av_buffersink_get_frame(m_sink, m_output) >= 0) {
        // One picture out for each in, in order.
        if (!m_sourcePts.empty()) {
            m_output->pts = m_sourcePts.front();
            m_sourcePts.pop_front();
        }
        sink(m_output);
        av_frame_unref(m_output);
    }
}

bool Deinterlacer::Build(const AVFrame* frame)
{
    Reset();
    m_graph = avfilter_graph_alloc();
    if (!m_graph)
        return false;
    m_graph->nb_threads = 1;
    const std::string args = "video_size=" + std::to_string(frame->width) + "x" + std::to_string(frame->height) +
                             ":pix_fmt=" + std::to_string(frame->format) + ":time_base=1/25:pixel_aspect=1/1";
    AVFilterInOut* outputs = avfilter_inout_alloc();
    AVFilterInOut* inputs = avfilter_inout_alloc();
    bool ok = outputs && inputs &&
              avfilter_graph_create_filter(&m_source, avfilter_get_by_name("buffer"), "in", args.c_str(), nullptr,
                                           m_graph) >= 0 &&
              avfilter_graph_create_filter(&m_sink, avfilter_get_by_name("buffersink"), "out", nullptr, nullptr,
                                           m_graph) >= 0;
    if (ok) {
        outputs->name = av_strdup("in");
        outputs->filter_ctx = m_source;
        inputs->name = av_strdup("out");
        inputs->filter_ctx = m_sink;
        ok = avfilter_graph_parse_ptr(m_graph, "bwdif=mode=send_frame:parity=auto:deint=interlaced", &inputs,
                                      &outputs, nullptr) >= 0 &&
             avfilter_graph_config(m_graph, nullptr) >= 0;
    }
    avfilter_inout_free(&inputs);
    avfilter_inout_free(&outputs);
    if (!ok) {
        Reset();
        return false;
    }
    m_width = frame->width;
    m_height = frame->height;
    m_format = frame->format;
    return true;
}

void Deinterlacer::Process(const AVFrame* frame, const FrameSink& sink)
{
    const bool sameShape = m_graph && frame->width == m_width && frame->height == m_height && frame->format == m_format;
    if (!sameShape && !Build(frame)) {
        sink(frame);
        return;
    }
    if (av_frame_ref(m_input, frame) < 0)
        return;
    m_input->pts = m_nextPts++;
    const int added = av_buffersrc_add_frame(m_source, m_input);
    av_frame_unref(m_input);
    if (added < 0) {
        Reset();
        sink(frame);
        return;
    }
    m_sourcePts.push_back(frame->pts);
    Drain(sink);
}
