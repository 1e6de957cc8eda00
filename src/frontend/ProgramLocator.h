// Where mosk-solve finds mosk and the workers. The same rules hold for the
// build tree (build/src/frontend/mosk-solve beside build/src/run/mosk and
// build/src/workers/) and for an installation (PREFIX/bin/{mosk,mosk-solve}
// with the workers in PREFIX/lib/mosk/Pendra/bin).
#pragma once

#include <string>
#include <vector>

// The directory of the running executable ("" when it cannot be told).
std::string SelfDirectory();

// mosk: `explicitPath` when given (from --mosk or $MOSK), else `selfDir`/mosk,
// else `selfDir`/../run/mosk, else the first "mosk" on `searchPath` (a
// colon-separated list). "" when none is an executable file.
std::string FindMosk(const std::string& explicitPath, const std::string& selfDir,
                     const std::string& searchPath);

// A worker ("kiln_da" or "ekiln"): the first executable among
// <dir>/../lib/mosk/Pendra/bin/<name> and <dir>/../workers/<name>, for dir
// the directory of mosk-solve and then that of mosk. "" when none exists.
std::string FindWorker(const std::string& name, const std::string& selfDir,
                       const std::string& moskPath);

// The absolute, symlink-free form of an existing path (the path itself when
// it cannot be resolved).
std::string ResolvedPath(const std::string& path);
