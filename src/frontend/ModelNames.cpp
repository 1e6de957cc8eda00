// Model names in the run directory.
#include "frontend/ModelNames.h"

namespace {

bool EndsWith(const std::string& text, const std::string& suffix)
{
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

void RemoveFirst(std::string& text, const std::string& part)
{
    const std::size_t at = text.find(part);
    if (at != std::string::npos) text.erase(at, part.size());
}

}  // namespace

std::string NetBaseName(const std::string& descriptionPath)
{
    std::string name = descriptionPath.substr(descriptionPath.rfind('/') + 1);
    for (const char* suffix : {".table", ".TABLE"})
        if (EndsWith(name, suffix)) {
            name.erase(name.size() - 6);
            break;
        }
    for (char& c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '_' || c == '-' || c == '.';
        if (!plain) c = '_';
    }
    // A leading "-" would read as a switch to the shell commands mosk runs.
    if (!name.empty() && name.front() == '-') name.front() = '_';
    if (name.find_first_not_of('.') == std::string::npos) return "model";
    return name;
}

std::string PureName(const std::string& netBaseName)
{
    std::string name = netBaseName;
    RemoveFirst(name, ".net");
    RemoveFirst(name, "BS");
    return name;
}
