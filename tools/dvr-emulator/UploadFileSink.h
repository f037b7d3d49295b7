#pragma once
// An upload on its way to DATA/uploads/NAME: bytes go to a temporary file in
// the same folder, which becomes NAME only on Commit (fsync, then rename), so
// a failed or abandoned upload leaves nothing behind.

#include "core/net/RecorderBackend.h"

#include <memory>
#include <string>

namespace emulator {

class UploadFileSink final : public wire::UploadSink {
public:
    // Null with *error when the temporary file cannot be made.
    static std::unique_ptr<UploadFileSink> Create(const std::string& folder, const std::string& name, uint32_t size,
                                                  std::string* error);
    ~UploadFileSink() override;
    bool Write(const uint8_t* data, size_t length) override;
    bool Commit() override;

private:
    UploadFileSink(int fd, std::string tempPath, std::string finalPath, uint32_t size);
    int fd_;
    std::string tempPath_;
    std::string finalPath_;
    uint32_t size_;
    uint64_t written_ = 0;
    bool committed_ = false;
};

}  // namespace emulator
