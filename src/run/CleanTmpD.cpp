// Clean-up of old temporary files. The fixed part of each name is quoted for
// the shell; the star of the chain-file patterns stays outside the quotes so
// that it still expands.
#include "run/CleanTmpD.h"

#include "foundation/ChainModelName.h"
#include "foundation/RunState.h"
#include "run/ShellCommand.h"

namespace {

void Remove(const Str& directory, const Str& name, const char* suffix, const char* pattern = "")
{
    RunShellCommand(Str("rm -- ") + ShellQuote(directory + "/" + name + suffix) + pattern +
                    " 2>/dev/null");
}

}  // namespace

void CleanTmpD()
{
    Remove(TmpD, netname, ".pmf");
    Remove(TmpD, netname, ".EMC", "*");
    Remove(TmpD, netname, ".AUX");
    Remove(TmpD, netname, ".CONV", "*");
    Remove(ModelD, netname, ".RESULTS");
    Remove(TmpD, netname, ".PROBMARK");
    // The chain and PMF files carry the model's bare file name; while the net
    // name still holds a directory (a description given on the command line,
    // a relative net name) those are other files, and a stale chain file
    // would be read with the fresh ones.
    Str model(ChainModelName().c_str());
    if (model == netname) return;
    Remove(TmpD, model, ".pmf");
    Remove(TmpD, model, ".EMC", "*");
    Remove(TmpD, model, ".AUX");
    Remove(TmpD, model, ".CONV", "*");
    Remove(TmpD, model, ".PROBMARK");
}
