// The private directory of one mosk-solve run: a model directory for the
// description, mosk's delays, chain and results files, a home with the
// ".Plenar" of the run, and, when the user has no installation of their
// own, an installation directory whose Pendra/bin links the workers.
// Removed again unless kept.
#pragma once

#include <string>
#include <vector>

struct WorkerLink {
    std::string name;    // "kiln_da" or "ekiln"
    std::string target;  // the executable it stands for
};

struct RunPaths {
    std::string root;        // the directory that holds everything
    std::string home;        // HOME for mosk
    std::string plenarHome;  // PLENARHOME for mosk
    std::string modelDir;    // MODELDIR for mosk, and the net's directory
};

// The text of a ".Plenar" naming `hostName` as the only host, with a
// DROPTOLERANCE line when `dropTolerance` is not empty, and with
// `solverProgress` a line that has the relaxation report its iterations
// twice a second (for the progress display).
std::string PlenarFileText(const std::string& hostName, const std::string& dropTolerance,
                           bool solverProgress = false);

class RunDirectory {
public:
    RunDirectory() = default;
    RunDirectory(const RunDirectory&) = delete;
    RunDirectory& operator=(const RunDirectory&) = delete;
    ~RunDirectory();

    // Creates <parent>/mosk-solve.XXXXXX with its model directory and
    // home/.Plenar (from `plenarText`). With `privateInstallation` also
    // plenar/Pendra/{bin,scripts} with the worker links; otherwise PLENARHOME
    // is `userPlenarHome`. On failure nothing is left behind and `error`
    // says why.
    bool Create(const std::string& parent, bool privateInstallation, const std::string& plenarText,
                const std::vector<WorkerLink>& workers, const std::string& userPlenarHome,
                std::string& error);

    const RunPaths& Paths() const { return paths; }

    // Leaves the directory in place at the end.
    void Keep() { kept = true; }
    // Removes the directory now (unless kept); safe to call twice.
    void Remove();

private:
    bool Populate(bool privateInstallation, const std::string& plenarText,
                  const std::vector<WorkerLink>& workers, std::string& error);

    RunPaths paths;
    bool kept = false;
};
