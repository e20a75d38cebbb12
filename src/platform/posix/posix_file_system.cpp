#include "posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace {
std::string parent_of(const std::string& path)
{
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : (slash == 0 ? std::string("/") : path.substr(0, slash));
}

class PosixWriter : public FileWriter {
public:
    PosixWriter(int fd, std::string temp, std::string target, WriteFault fault)
        : fd_(fd), temp_(std::move(temp)), target_(std::move(target)), fault_(std::move(fault)) {}

    ~PosixWriter() override
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!committed_)
            ::unlink(temp_.c_str());
    }

    bool write(const void* data, size_t size) override
    {
        if (fd_ < 0)
            return false;
        size_t allowed = size;
        if (fault_.fail_after_bytes >= 0) {
            const long long room = fault_.fail_after_bytes - written_;
            allowed = room <= 0 ? 0 : std::min(size, static_cast<size_t>(room));
        }
        const auto* p = static_cast<const char*>(data);
        size_t done = 0;
        while (done < allowed) {
            const ssize_t n = ::write(fd_, p + done, allowed - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<size_t>(n);
        }
        written_ += static_cast<long long>(done);
        return done == size;
    }

    bool commit() override
    {
        if (fd_ < 0)
            return false;
        const bool closed = ::close(fd_) == 0;
        fd_ = -1;
        if (!closed || fault_.fail_commit)
            return false;
        if (::rename(temp_.c_str(), target_.c_str()) != 0)
            return false;
        committed_ = true;
        return true;
    }

private:
    int fd_;
    std::string temp_, target_;
    WriteFault fault_;
    long long written_ = 0;
    bool committed_ = false;
};
}

std::optional<Bytes> PosixFileSystem::read(const std::string& path)
{
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    Bytes data;
    unsigned char buffer[65536];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0)
        data.insert(data.end(), buffer, buffer + n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return data;
}

std::optional<int64_t> PosixFileSystem::size(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return static_cast<int64_t>(st.st_size);
}

bool PosixFileSystem::exists(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool PosixFileSystem::is_directory(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool PosixFileSystem::remove(const std::string& path)
{
    return ::unlink(path.c_str()) == 0;
}

bool PosixFileSystem::make_directories(const std::string& path)
{
    if (path.empty() || is_directory(path))
        return true;
    const std::string parent = parent_of(path);
    if (parent != path && !make_directories(parent))
        return false;
    return ::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST;
}

std::vector<std::string> PosixFileSystem::list(const std::string& directory)
{
    std::vector<std::string> names;
    DIR* dir = ::opendir(directory.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

std::unique_ptr<FileWriter> PosixFileSystem::create(const std::string& path)
{
    const bool faulty = !fault_.path_contains.empty() && path.find(fault_.path_contains) != std::string::npos;
    const WriteFault fault = faulty ? fault_ : WriteFault{};
    if (fault.fail_create || is_directory(path))
        return nullptr;
    if (!make_directories(parent_of(path)))
        return nullptr;
    std::string temp = path + ".tmpXXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return nullptr;
    ::fchmod(fd, 0644);
    return std::make_unique<PosixWriter>(fd, temp, path, fault);
}
