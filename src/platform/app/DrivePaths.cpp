#include "platform/app/DrivePaths.h"

#include <array>
#include <cstdlib>
#include <filesystem>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace drive {
namespace {

// The names of the fixed folder tree, in their one spelling.
constexpr std::array kFixedNames = {"DVR", "Live", "Capture", "Remote", "Panorama",
                                    "MediaFile", "LogFile", "Log"};

std::string canonicalName(const std::string& name)
{
    for (const char* fixed : kFixedNames)
        if (strcasecmp(fixed, name.c_str()) == 0)
            return fixed;
    return name;
}

bool startsWithNoCase(const std::string& text, const std::string& prefix)
{
    return text.size() >= prefix.size() && strncasecmp(text.c_str(), prefix.c_str(), prefix.size()) == 0;
}

} // namespace

std::string DriveCRoot()
{
    if (const char* root = std::getenv("DVR_DRIVE_C"); root && *root)
        return root;
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    return "/tmp";
}

std::string InstallFolder()
{
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (ec)
        return std::filesystem::current_path(ec).string();
    return exe.parent_path().string();
}

std::string MapWindowsPath(const std::string& windowsPath)
{
    std::string rest = windowsPath;
    std::string base;
    static const std::string kProgramFolder = "C:\\Program Files\\DVR";
    if (startsWithNoCase(rest, kProgramFolder)) {
        base = InstallFolder();
        rest = rest.substr(kProgramFolder.size());
    } else if (rest.size() >= 2 && rest[1] == ':' && (rest[0] == 'c' || rest[0] == 'C')) {
        base = DriveCRoot();
        rest = rest.substr(2);
    }

    std::string mapped = base;
    std::string component;
    auto flush = [&] {
        if (component.empty())
            return;
        if (!mapped.empty() && mapped.back() != '/')
            mapped += '/';
        mapped += base.empty() ? component : canonicalName(component);
        component.clear();
    };
    if (base.empty() && !rest.empty() && (rest[0] == '\\' || rest[0] == '/'))
        mapped.assign(1, '/');
    for (char c : rest) {
        if (c == '\\' || c == '/')
            flush();
        else
            component += c;
    }
    flush();
    return mapped;
}

bool CreateFolder(const std::string& windowsPath)
{
    std::string path = MapWindowsPath(windowsPath);
    if (::mkdir(path.c_str(), 0755) == 0)
        return true;
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace drive
