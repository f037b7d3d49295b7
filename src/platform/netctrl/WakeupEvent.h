#pragma once

#include "platform/netctrl/FileDescriptor.h"

// An eventfd that lets any thread wake an I/O thread blocked in poll().
// Opened by its owner when an I/O thread starts and closed after it ended,
// so that idle owners hold no descriptor.
class WakeupEvent {
public:
    bool Open();
    void Close() { m_fd.Reset(); }
    bool Valid() const { return m_fd.Valid(); }
    int Fd() const { return m_fd.Get(); }
    void Signal();
    // Clears pending signals; called by the waiting thread after poll() reports it.
    void Drain();

private:
    FileDescriptor m_fd;
};
