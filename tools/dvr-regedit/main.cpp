// dvr-regedit: exports a registry branch to a .reg file or imports one.
#include "RegeditOptions.h"

#include "core/config/RegFile.h"
#include "platform/app/DrivePaths.h"
#include "platform/registry/SqliteRegistry.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iostream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Far beyond any registry branch; keeps a wrong file from eating memory.
constexpr off_t kMaxFileBytes = 64 * 1024 * 1024;

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) {
        error = "cannot read " + path + ": " + std::strerror(errno);
        if (fd >= 0)
            close(fd);
        return false;
    }
    if (!S_ISREG(info.st_mode) || info.st_size > kMaxFileBytes) {
        error = path + " is not a registry file (not a regular file, or larger than 64 MiB)";
        close(fd);
        return false;
    }
    bytes.resize(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    close(fd);
    bytes.resize(done);
    return true;
}

// Written beside the target and renamed over it, so a failed export never
// leaves half a file. Private to the user: it holds recorder passwords.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error)
{
    std::string temporary = path + ".tmp-" + std::to_string(getpid());
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            break;
        done += static_cast<std::size_t>(put);
    }
    bool ok = done == bytes.size() && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        unlink(temporary.c_str());
        return false;
    }
    return true;
}

// The configuration dialog names its files the Windows way
// ("c:\DVR_20070102_030405.reg"); those go through the drive mapping.
std::string LocalPath(const std::string& file)
{
    bool windowsPath = file.size() >= 3 && std::isalpha(static_cast<unsigned char>(file[0])) && file[1] == ':'
        && file[2] == '\\';
    return windowsPath ? drive::MapWindowsPath(file) : file;
}

int Fail(const std::string& message)
{
    std::cerr << "dvr-regedit: " << message << '\n';
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    RegeditOptions options;
    std::string error;
    if (!ParseRegeditOptions(std::vector<std::string>(argv + 1, argv + argc), options, error)) {
        std::cerr << "dvr-regedit: " << error << '\n';
        return 2;
    }
    options.file = LocalPath(options.file);
    RegistryOpenResult opened = OpenUserRegistry();
    if (!opened.movedAsidePath.empty())
        std::cerr << "dvr-regedit: the registry was damaged and has been moved to " << opened.movedAsidePath << '\n';
    if (!opened.backend)
        return Fail(opened.error);

    if (options.action == RegeditOptions::Action::Export) {
        std::string key = options.key.empty() ? "HKEY_CURRENT_USER" : options.key;
        std::vector<std::uint8_t> bytes;
        if (!CRegFile::Export(*opened.backend, key, bytes, error) || !WriteWholeFile(options.file, bytes, error))
            return Fail(error);
        if (!options.silent)
            std::cout << key << " exported to " << options.file << '\n';
        return 0;
    }
    std::vector<std::uint8_t> bytes;
    if (!ReadWholeFile(options.file, bytes, error))
        return Fail(error);
    if (!CRegFile::Import(*opened.backend, bytes, error))
        return Fail(options.file + ": " + error);
    if (!options.silent)
        std::cout << options.file << " imported\n";
    return 0;
}
