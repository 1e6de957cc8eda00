// Derived path names of a run.
#include "run/PathNames.h"

#include "foundation/RunState.h"

#include <string>

namespace {

Str PassFileName(const char* kind, int pass)
{
    return dir_name + "/" + purename + "." + subname + kind + std::to_string(pass).c_str();
}

}  // namespace

Str TmpPfad(const Str& path)
{
    std::string text = path.IsNull() ? "" : path.GetCChar();
    std::size_t slash = text.rfind('/');
    if (slash == std::string::npos || slash == 0) return Str("");
    return Str(text.substr(0, slash).c_str());
}

Str PureName(const Str& netName, const Str& subName)
{
    const char* slash = netName.RIndex('/');
    Str bare = slash ? Str(slash + 1) : netName;
    return bare - ".net" - subName;
}

Str ResultsFileName(int pass) { return PassFileName("results", pass); }

Str DelaysFileName(int pass) { return PassFileName("delays", pass); }
