// Writing and removing the member-order files.
#include "solution/MemberOrderFile.h"

#include "foundation/ChainModelName.h"
#include "foundation/Reporters.h"
#include "foundation/RunState.h"
#include "solution/ChainFiles.h"

#include <cstdio>

namespace {

constexpr int kWriteLine = 338;

}  // namespace

std::string MemberOrderPath(int class_id)
{
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, ".SMCORDER%02d", class_id);
    return chain_file_name(ChainModelName().c_str(), suffix);
}

void WriteMemberOrder(const SMChain& chain, int class_id)
{
    const std::string path = MemberOrderPath(class_id);
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        ExRErr("StartKilnProcess()", "can't write member order file", path.c_str(), kWriteLine);
    std::fprintf(file, "%d\n", chain.GetMarkings().count);
    for (const PLElement<Marking>* e = chain.GetMarkings().first; e; e = e->next)
        std::fprintf(file, "%u\n", e->item->GetKey());
    if (std::fclose(file) != 0)
        ExRErr("StartKilnProcess()", "can't write member order file", path.c_str(), kWriteLine);
}

void RemoveMemberOrder(int class_id)
{
    std::remove(MemberOrderPath(class_id).c_str());
}
