#include "Port_Stream.h"

#include <cstdlib>

#include <stdio.h>

namespace Port {

Stream::Stream(std::FILE* file, Access access) : file(file), access(access) {}

Stream::~Stream()
{
    if (file != nullptr)
        std::fclose(file);
}

bool Stream::readline(String& line)
{
    if (access != Read || file == nullptr)
        return false;
    char* buffer = nullptr;
    std::size_t capacity = 0;
    const ssize_t length = ::getline(&buffer, &capacity, file);
    if (length < 0) {
        std::free(buffer);
        return false;
    }
    std::size_t size = static_cast<std::size_t>(length);
    if (size > 0 && buffer[size - 1] == '\n') {
        --size;
        if (size > 0 && buffer[size - 1] == '\r')
            --size;
    }
    line = String(buffer, size);
    std::free(buffer);
    return true;
}

bool Stream::writeline(const String& line)
{
    if (access == Read || file == nullptr)
        return false;
    const std::size_t size = line.GetLength();
    if (std::fwrite(line.c_str(), 1, size, file) != size)
        return false;
    return std::fputc('\n', file) != EOF;
}

bool Stream::geteof()
{
    if (access != Read || file == nullptr)
        return true;
    // Peeking lets a loop stop right after the last line instead of one read later.
    const int c = std::getc(file);
    if (c == EOF)
        return true;
    std::ungetc(c, file);
    return false;
}

}  // namespace Port
