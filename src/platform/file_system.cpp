#include "file_system.h"

bool FileSystem::write_all(const std::string& path, const void* data, size_t size)
{
    auto writer = create(path);
    return writer && writer->write(data, size) && writer->commit();
}
