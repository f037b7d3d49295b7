#include "core/msg/WindowMessage.h"

#include <mutex>
#include <unordered_map>

namespace {

struct Registry {
    // Guards receivers and nextHandle; held while a message is delivered so
    // that unregistering waits for a delivery in progress.
    std::mutex lock;
    std::unordered_map<HWND, CMessageReceiver*> receivers;
    HWND nextHandle = 1;
};

Registry& registry()
{
    static Registry instance;
    return instance;
}

} // namespace

HWND RegisterMessageReceiver(CMessageReceiver* receiver)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    HWND handle = r.nextHandle++;
    if (r.nextHandle == 0)
        r.nextHandle = 1;
    r.receivers[handle] = receiver;
    return handle;
}

void UnregisterMessageReceiver(HWND window)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    r.receivers.erase(window);
}

bool PostWindowMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam)
{
    Registry& r = registry();
    std::lock_guard guard(r.lock);
    auto it = r.receivers.find(window);
    if (it == r.receivers.end())
        return false;
    it->second->OnPostedMessage(message, wParam, lParam);
    return true;
}
