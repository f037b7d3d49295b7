#include "platform/netctrl/WakeupEvent.h"

#include <sys/eventfd.h>

#include <cstdint>

bool WakeupEvent::Open()
{
    m_fd = FileDescriptor(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    return m_fd.Valid();
}

void WakeupEvent::Signal()
{
    std::uint64_t one = 1;
    // A full counter still leaves the fd readable, so a failed write loses nothing.
    [[maybe_unused]] ssize_t written = ::write(m_fd.Get(), &one, sizeof one);
}

void WakeupEvent::Drain()
{
    std::uint64_t count = 0;
    [[maybe_unused]] ssize_t got = ::read(m_fd.Get(), &count, sizeof count);
}
