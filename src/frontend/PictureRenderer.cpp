// Renderers run like mosk: in a process group of their own, stopped by an
// interrupt or after two minutes.
#include "frontend/PictureRenderer.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "frontend/ChildProcess.h"

extern char** environ;

namespace {

constexpr double kRendererSeconds = 120.0;

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

}  // namespace

const char* FormatName(PictureFormat format)
{
    switch (format) {
        case PictureFormat::Svg:
            return "svg";
        case PictureFormat::Png:
            return "png";
        case PictureFormat::Pdf:
            return "pdf";
        case PictureFormat::Dot:
            break;
    }
    return "dot";
}

bool PictureFormatOf(const std::string& option, const std::string& path,
                     const std::vector<PictureFormat>& allowed, PictureFormat& format,
                     std::string& error)
{
    const std::size_t dot = path.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : Lower(path.substr(dot + 1));
    std::string names;
    for (PictureFormat candidate : allowed) {
        if (extension == FormatName(candidate)) {
            format = candidate;
            return true;
        }
        names += std::string(names.empty() ? "" : ", ") + "." + FormatName(candidate);
    }
    error = option + " " + path + ": the file name must end in " + names;
    return false;
}

std::string FindProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    std::string directories = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = directories.find(':', start);
        std::string directory = directories.substr(start, colon - start);
        if (directory.empty()) directory = ".";
        const std::string candidate = directory + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0 && !std::filesystem::is_directory(candidate))
            return candidate;
        if (colon == std::string::npos) return "";
        start = colon + 1;
    }
}

std::string MissingRendererMessage(const std::string& option, const std::string& program,
                                   const std::string& package)
{
    return option + " needs " + program + ", which is not installed (on PATH); install it with " +
           "'apt-get install " + package + "' (tools/install-build-tools does) or leave out " +
           option;
}

bool RunRenderer(const std::vector<std::string>& arguments, const std::string& directory,
                 std::string& error)
{
    ChildCommand command;
    command.arguments = arguments;
    for (char** entry = environ; *entry != nullptr; ++entry) command.environment.push_back(*entry);
    command.directory = directory;
    command.timeoutSeconds = kRendererSeconds;
    std::string said;
    const ChildOutcome outcome =
        RunChild(command, [&said](std::string_view piece) { said.append(piece); });
    if (outcome.started && !outcome.timedOut && outcome.interrupt == 0 && outcome.status == 0)
        return true;
    const std::string name = std::filesystem::path(arguments.front()).filename();
    if (!outcome.started)
        error = outcome.startError;
    else if (outcome.timedOut)
        error = name + " did not finish within 120 s";
    else if (outcome.interrupt != 0)
        error = "interrupted";
    else
        error = name + " failed (status " + std::to_string(outcome.status) + ")" +
                (said.empty() ? "" : ": " + said.substr(0, 2000));
    while (!error.empty() && error.back() == '\n') error.pop_back();
    return false;
}

ScratchDirectory::~ScratchDirectory()
{
    if (path.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

bool ScratchDirectory::Create(std::string& error)
{
    const char* parent = std::getenv("TMPDIR");
    std::string pattern = std::string(parent != nullptr && *parent != '\0' ? parent : "/tmp") +
                          "/mosk-solve-picture.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "cannot create a directory in " + pattern + ": " + std::strerror(errno);
        return false;
    }
    path = pattern;
    return true;
}
