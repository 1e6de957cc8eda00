// The programs that draw mosk-solve's pictures: gnuplot for the plots of a
// sweep, Graphviz's dot for graphs. They are found on PATH; a missing one is
// reported before any work is done.
#pragma once

#include <string>
#include <vector>

enum class PictureFormat { Svg, Png, Pdf, Dot };

// The format a picture file's name asks for (by its extension, any case);
// false with `error` set for an extension that is not among `allowed`.
bool PictureFormatOf(const std::string& option, const std::string& path,
                     const std::vector<PictureFormat>& allowed, PictureFormat& format,
                     std::string& error);

// The extension's name: "svg", "png", "pdf", "dot".
const char* FormatName(PictureFormat format);

// The executable `name` on PATH, or "" when there is none.
std::string FindProgram(const std::string& name);

// The message for a renderer that is not installed.
std::string MissingRendererMessage(const std::string& option, const std::string& program,
                                   const std::string& package);

// Runs the renderer (arguments[0] its path) in `directory` with a time
// limit; false with `error` holding what it said.
bool RunRenderer(const std::vector<std::string>& arguments, const std::string& directory,
                 std::string& error);

// A private temporary directory for the files a renderer reads, removed
// with the object.
class ScratchDirectory {
public:
    ScratchDirectory() = default;
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    ~ScratchDirectory();

    bool Create(std::string& error);
    const std::string& Path() const { return path; }

private:
    std::string path;
};
