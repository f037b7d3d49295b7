#pragma once

#include "platform/decoder/FrameSink.h"

#include <deque>

struct AVFilterContext;
struct AVFilterGraph;
struct AVFrame;

// Motion-adaptive deinterlacing (libavfilter bwdif, one picture per frame).
// Only pictures marked interlaced are changed; progressive ones pass as they
// are. It holds one picture back to look ahead. Pictures come out with the
// time stamps they went in with. Not thread-safe.
class Deinterlacer {
public:
    Deinterlacer();
    ~Deinterlacer();
    Deinterlacer(const Deinterlacer&) = delete;
    Deinterlacer& operator=(const Deinterlacer&) = delete;

    // Calls sink with each output picture; when the filter cannot be built
    // for this picture format the picture passes through unchanged.
    void Process(const AVFrame* frame, const FrameSink& sink);
    // Passes on the picture held back for look-ahead, then starts afresh.
    void Flush(const FrameSink& sink);
    void Reset();

private:
    bool Build(const AVFrame* frame);
    void Drain(const FrameSink& sink);

    AVFilterGraph* m_graph = nullptr;
    AVFilterContext* m_source = nullptr;
    AVFilterContext* m_sink = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_format = -1;
    long long m_nextPts = 0;  // the filter's own count
    std::deque<long long> m_sourcePts;  // of the pictures inside the filter, in order
    AVFrame* m_input;
    AVFrame* m_output;
};
