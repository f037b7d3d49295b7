#include "platform/ptz/PtzDriverLibrary.h"

#include "platform/app/DrivePaths.h"

#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>

std::unique_ptr<PtzDriverLibrary> PtzDriverLibrary::Open(const std::string& path, Failure* failure,
                                                         std::string* reason)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        *failure = Failure::Missing;
        return nullptr;
    }
    // RTLD_LOCAL: two drivers may export the same names.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        *failure = Failure::NotLoadable;
        const char* why = dlerror();
        *reason = why ? why : "unknown reason";
        return nullptr;
    }
    *failure = Failure::None;
    return std::unique_ptr<PtzDriverLibrary>(new PtzDriverLibrary(handle));
}

PtzDriverLibrary::~PtzDriverLibrary() { dlclose(m_handle); }

void* PtzDriverLibrary::Symbol(const char* name) const { return dlsym(m_handle, name); }

std::string PtzDriverFolder()
{
    if (const char* folder = std::getenv("DVR_PTZ_DIR"); folder && *folder)
        return folder;
    return drive::InstallFolder() + "/lib/ptz";
}
