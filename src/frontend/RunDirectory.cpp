// Creation and removal of the run directory.
#include "frontend/RunDirectory.h"

#include "frontend/TextFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

bool MakeDirectory(const std::string& path, std::string& error)
{
    std::error_code code;
    std::filesystem::create_directories(path, code);
    if (code) error = "cannot create " + path + ": " + code.message();
    return !code;
}

}  // namespace

std::string PlenarFileText(const std::string& hostName, const std::string& dropTolerance,
                           bool solverProgress)
{
    std::string text =
        "# written by mosk-solve for one run\nHOSTLISTSTART\n" + hostName + "\nHOSTLISTEND\n";
    if (!dropTolerance.empty()) text += "DROPTOLERANCE " + dropTolerance + "\n";
    if (solverProgress) text += "SOLVER PROGRESS 0.5\n";
    return text;
}

RunDirectory::~RunDirectory()
{
    Remove();
}

bool RunDirectory::Create(const std::string& parent, bool privateInstallation,
                          const std::string& plenarText, const std::vector<WorkerLink>& workers,
                          const std::string& userPlenarHome, std::string& error)
{
    std::string pattern = parent + "/mosk-solve.XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) {
        error = "cannot create a run directory in " + parent + ": " + std::strerror(errno) +
                " (set TMPDIR to a writable directory)";
        return false;
    }
    paths.root = pattern;
    paths.modelDir = paths.root + "/model";
    paths.home = paths.root + "/home";
    paths.plenarHome = privateInstallation ? paths.root + "/plenar" : userPlenarHome;
    if (Populate(privateInstallation, plenarText, workers, error)) return true;
    kept = false;
    Remove();
    return false;
}

bool RunDirectory::Populate(bool privateInstallation, const std::string& plenarText,
                            const std::vector<WorkerLink>& workers, std::string& error)
{
    if (!MakeDirectory(paths.modelDir, error) || !MakeDirectory(paths.home, error) ||
        !WriteTextFile(paths.home + "/.Plenar", plenarText, error))
        return false;
    if (!privateInstallation) return true;
    const std::string bin = paths.plenarHome + "/Pendra/bin";
    if (!MakeDirectory(bin, error) || !MakeDirectory(paths.plenarHome + "/Pendra/scripts", error))
        return false;
    for (const WorkerLink& worker : workers) {
        const std::string link = bin + "/" + worker.name;
        if (symlink(worker.target.c_str(), link.c_str()) != 0) {
            error = "cannot link " + link + ": " + std::strerror(errno);
            return false;
        }
    }
    return true;
}

void RunDirectory::Remove()
{
    if (kept || paths.root.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(paths.root, ignored);
    paths.root.clear();
}
