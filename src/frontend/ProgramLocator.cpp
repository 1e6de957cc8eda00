// Finding the programs mosk-solve starts.
#include "frontend/ProgramLocator.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>

namespace {

bool IsExecutableFile(const std::string& path)
{
    struct stat info;
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           access(path.c_str(), X_OK) == 0;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string FirstExecutable(const std::vector<std::string>& candidates)
{
    for (const std::string& candidate : candidates)
        if (IsExecutableFile(candidate)) return ResolvedPath(candidate);
    return "";
}

}  // namespace

std::string ResolvedPath(const std::string& path)
{
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

std::string SelfDirectory()
{
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return "";
    return DirectoryOf(std::string(self, static_cast<std::size_t>(length)));
}

std::string FindMosk(const std::string& explicitPath, const std::string& selfDir,
                     const std::string& searchPath)
{
    if (!explicitPath.empty())
        return IsExecutableFile(explicitPath) ? ResolvedPath(explicitPath) : "";
    std::vector<std::string> candidates;
    if (!selfDir.empty()) {
        candidates.push_back(selfDir + "/mosk");
        candidates.push_back(selfDir + "/../run/mosk");
    }
    std::size_t start = 0;
    while (!searchPath.empty() && start <= searchPath.size()) {
        std::size_t colon = searchPath.find(':', start);
        if (colon == std::string::npos) colon = searchPath.size();
        const std::string dir = searchPath.substr(start, colon - start);
        candidates.push_back((dir.empty() ? "." : dir) + "/mosk");
        start = colon + 1;
    }
    return FirstExecutable(candidates);
}

std::string FindWorker(const std::string& name, const std::string& selfDir,
                       const std::string& moskPath)
{
    std::vector<std::string> candidates;
    for (const std::string& dir : {selfDir, moskPath.empty() ? "" : DirectoryOf(moskPath)}) {
        if (dir.empty()) continue;
        candidates.push_back(dir + "/../lib/mosk/Pendra/bin/" + name);
        candidates.push_back(dir + "/../workers/" + name);
    }
    return FirstExecutable(candidates);
}
