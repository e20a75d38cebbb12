// Helpers of the files tests: raw bytes of files under the data root, and image fills.
#pragma once
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/fixture.h"

class FilesTest : public ProgramTest {
protected:
    std::vector<uint8_t> bytes_of(const std::string& name) const
    {
        std::ifstream in(native(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    void write_bytes(const std::string& name, const std::vector<uint8_t>& data)
    {
        ASSERT_TRUE(files_.write_all(native(name), data));
    }
    bool exists(const std::string& name) const
    {
        std::ifstream in(native(name), std::ios::binary);
        return static_cast<bool>(in);
    }
    static std::string text_at(const std::vector<uint8_t>& b, size_t offset, size_t size)
    {
        return std::string(b.begin() + static_cast<long>(offset), b.begin() + static_cast<long>(offset + size));
    }
};
