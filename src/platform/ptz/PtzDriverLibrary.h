#pragma once

#include <memory>
#include <string>

// One PTZ driver library loaded by absolute path; unloaded when destroyed.
class PtzDriverLibrary {
public:
    enum class Failure { None, Missing, NotLoadable };

    // Null with *failure Missing when no file is at path (a protocol without
    // a driver), NotLoadable with the loader's reason in *reason otherwise.
    static std::unique_ptr<PtzDriverLibrary> Open(const std::string& path, Failure* failure, std::string* reason);
    ~PtzDriverLibrary();
    PtzDriverLibrary(const PtzDriverLibrary&) = delete;
    PtzDriverLibrary& operator=(const PtzDriverLibrary&) = delete;

    // Null when the library does not export the name.
    void* Symbol(const char* name) const;

private:
    explicit PtzDriverLibrary(void* handle) : m_handle(handle) {}
    void* m_handle;
};

// The folder the drivers are in: DVR_PTZ_DIR when set, else lib/ptz in the
// install folder.
std::string PtzDriverFolder();
