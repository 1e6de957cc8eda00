// Clean-up of old temporary files. The fixed part of each name is quoted for
// the shell; the star of the chain-file patterns stays outside the quotes so
// that it still expands.
#include "run/CleanTmpD.h"

#include "foundation/RunState.h"
#include "run/ShellCommand.h"

namespace {

void Remove(const Str& directory, const char* suffix, const char* pattern = "")
{
    RunShellCommand(Str("rm -- ") + ShellQuote(directory + "/" + netname + suffix) + pattern +
                    " 2>/dev/null");
}

}  // namespace

void CleanTmpD()
{
    Remove(TmpD, ".pmf");
    Remove(TmpD, ".EMC", "*");
    Remove(TmpD, ".AUX");
    Remove(TmpD, ".CONV", "*");
    Remove(ModelD, ".RESULTS");
    Remove(TmpD, ".PROBMARK");
}
