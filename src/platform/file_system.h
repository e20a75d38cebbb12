// Files as the program sees them: whole reads, atomic writes, listing and removal. Every file the
// program writes goes through FileWriter, which writes a temporary file beside the target and
// renames it over the target only when everything was written, so a failed write leaves the
// previous file intact.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

// One file being written. Nothing is visible under the target name before commit().
class FileWriter {
public:
    virtual ~FileWriter() = default;          // abandons an uncommitted file
    virtual bool write(const void* data, size_t size) = 0;   // false on a short write
    virtual bool commit() = 0;                // false when the file could not be put in place
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual std::optional<Bytes> read(const std::string& path) = 0;
    virtual std::optional<int64_t> size(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    virtual bool is_directory(const std::string& path) = 0;
    virtual bool remove(const std::string& path) = 0;
    virtual bool make_directories(const std::string& path) = 0;
    virtual std::vector<std::string> list(const std::string& directory) = 0;   // entry names
    // Starts writing PATH (its folder is created when missing); nullptr when no file can be made.
    virtual std::unique_ptr<FileWriter> create(const std::string& path) = 0;

    // Writes a whole file; false when any step failed (the old file is then kept).
    bool write_all(const std::string& path, const void* data, size_t size);
    bool write_all(const std::string& path, const Bytes& data) { return write_all(path, data.data(), data.size()); }
};
