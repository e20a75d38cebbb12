// The file layer on POSIX calls. Tests inject failures (no file, a short write after some bytes,
// a failed rename) for paths that contain a given text.
#pragma once
#include <string>

#include "platform/file_system.h"

struct WriteFault {
    std::string path_contains;     // empty: no fault
    bool fail_create = false;
    long long fail_after_bytes = -1;   // a write that would pass this many bytes is cut short
    bool fail_commit = false;
};

class PosixFileSystem : public FileSystem {
public:
    std::optional<Bytes> read(const std::string& path) override;
    std::optional<int64_t> size(const std::string& path) override;
    bool exists(const std::string& path) override;
    bool is_directory(const std::string& path) override;
    bool remove(const std::string& path) override;
    bool make_directories(const std::string& path) override;
    std::vector<std::string> list(const std::string& directory) override;
    std::unique_ptr<FileWriter> create(const std::string& path) override;

    void inject(WriteFault fault) { fault_ = std::move(fault); }

private:
    WriteFault fault_;
};
