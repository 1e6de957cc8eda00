// The model name of the chain files.
#include "foundation/ChainModelName.h"

#include "foundation/RunState.h"

std::string ChainModelName()
{
    std::string name = netname.IsNull() ? "" : netname.GetCChar();
    return name.substr(name.find_last_of('/') + 1);
}
