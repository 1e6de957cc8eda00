// The check of the workers a description needs.
#include "frontend/WorkerCheck.h"

#include <unistd.h>

#include <algorithm>

#include "frontend/DescriptionTokens.h"

std::vector<std::string> WorkersNeeded(const std::string& description)
{
    bool deterministic = false, general = false;
    for (const DescriptionToken& token : TokenizeDescription(description)) {
        deterministic =
            deterministic || (token.kind == TokenKind::Name && token.text == "Deterministic");
        general = general || token.kind == TokenKind::General ||
                  (token.kind == TokenKind::Name && token.text == "Uniform");
    }
    std::vector<std::string> needed;
    if (deterministic) needed.push_back("kiln_da");
    if (general) needed.push_back("ekiln");
    return needed;
}

std::string MissingWorker(const std::string& description, const std::vector<WorkerLink>& found,
                          const std::string& userPlenarHome, int& status)
{
    for (const std::string& name : WorkersNeeded(description)) {
        const bool deterministic = name == "kiln_da";
        const std::string what =
            deterministic ? "deterministic delays" : "uniform or general delays";
        if (userPlenarHome.empty()) {
            if (std::any_of(found.begin(), found.end(),
                            [&](const WorkerLink& w) { return w.name == name; }))
                continue;
            status = deterministic ? 243 : 242;
            return "the net has " + what + ", which need the worker " + name +
                   ", but there is none beside mosk or mosk-solve (in ../lib/mosk/Pendra/bin or "
                   "../workers): build or install it (make install installs it)";
        }
        const std::string path = userPlenarHome + "/Pendra/bin/" + name;
        if (access(path.c_str(), X_OK) == 0) continue;
        status = deterministic ? 243 : 242;
        return "the net has " + what + ", which need the worker " + name + ", but " + path +
               " is not an executable program: install it there, or unset PLENARHOME to let "
               "mosk-solve use the one beside it";
    }
    return "";
}
