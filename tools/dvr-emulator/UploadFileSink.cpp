#include "UploadFileSink.h"

#include "AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace emulator {

std::unique_ptr<UploadFileSink> UploadFileSink::Create(const std::string& folder, const std::string& name,
                                                       uint32_t size, std::string* error)
{
    if (!MakeFolders(folder, error))
        return nullptr;
    std::string temp = folder + "/.upload-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        *error = "cannot create " + temp + ": " + std::strerror(errno);
        return nullptr;
    }
    return std::unique_ptr<UploadFileSink>(new UploadFileSink(fd, temp, folder + "/" + name, size));
}

UploadFileSink::UploadFileSink(int fd, std::string tempPath, std::string finalPath, uint32_t size)
    : fd_(fd), tempPath_(std::move(tempPath)), finalPath_(std::move(finalPath)), size_(size)
{
}

UploadFileSink::~UploadFileSink()
{
    if (fd_ >= 0)
        ::close(fd_);
    if (!committed_)
        ::unlink(tempPath_.c_str());
}

bool UploadFileSink::Write(const uint8_t* data, size_t length)
{
    if (fd_ < 0 || written_ + length > size_)
        return false;
    if (!WriteAll(fd_, data, length)) {
        // Part of the bytes may be in the file: nothing more may follow them.
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    written_ += length;
    return true;
}

bool UploadFileSink::Commit()
{
    if (fd_ < 0 || written_ != size_)
        return false;
    // mkstemp made the file private; an uploaded file is an ordinary one.
    const bool synced = ::fchmod(fd_, 0644) == 0 && ::fsync(fd_) == 0;
    ::close(fd_);
    fd_ = -1;
    if (!synced || ::rename(tempPath_.c_str(), finalPath_.c_str()) != 0)
        return false;
    committed_ = true;
    return true;
}

}  // namespace emulator
