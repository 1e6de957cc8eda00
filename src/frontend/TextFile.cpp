// A failed write names the file and the system's reason.
#include "frontend/TextFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>

bool WriteTextFile(const std::string& path, const std::string& text, std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) error = "cannot write " + path + ": " + std::strerror(errno);
    return static_cast<bool>(out);
}
