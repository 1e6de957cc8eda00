// Reading of the delays files into the delay tables.
#include "run/DelayTables.h"

#include "foundation/RunState.h"

#include <iostream>

unsigned nb_subtrans = 0;
PtrList<Str> subnames;
int mynumber = -1;
std::vector<unsigned> nb_transarray;
std::vector<std::vector<DelayEntry>> transitionsarrays;

namespace {

// The sub-model names are owned by the list for the whole run.
struct SubnamesOwner {
    ~SubnamesOwner() { subnames.HardClear(); }
} subnamesOwner;

bool FileEndsEarly()
{
    std::cout << "ReadDelays: Error, delays file ends before the last of its entries"
              << std::endl;
    return false;
}

bool LoadEntries(DelaysFileWords& words, const Str& subModel, std::vector<DelayEntry>& entries,
                 unsigned count, TransitionLookup find)
{
    for (unsigned k = 0; k < count; ++k) {
        if (words.AtEnd()) return FileEndsEarly();
        DelayEntry entry;
        entry.name = words.Next().c_str();
        entry.number = words.NextUnsigned();
        entry.delay = words.NextDouble();
        Str fullName = Str("\\__ROOT__\\") + subModel + "\\" + entry.name;
        entry.transNo = find(fullName);
        if (entry.transNo == -1) {
            std::cout << "ReadDelays: Error, couldn't find transition" << fullName.GetCChar()
                      << std::endl;
            return false;
        }
        entries.push_back(entry);
    }
    return true;
}

}  // namespace

bool LoadDelayTables(DelaysFileWords& words, TransitionLookup find)
{
    nb_subtrans = words.NextUnsigned();
    bool basicSkeleton = subname == "BS";
    mynumber = -1;
    for (unsigned i = 0; i < nb_subtrans; ++i) {
        if (words.AtEnd()) return FileEndsEarly();
        Str* subModel = new Str(words.Next().c_str());
        subnames.Append(subModel);
        if (!basicSkeleton && *subModel == subname) mynumber = static_cast<int>(i);
        nb_transarray.push_back(words.NextUnsigned());
        transitionsarrays.emplace_back();
        if (!LoadEntries(words, *subModel, transitionsarrays.back(), nb_transarray.back(), find))
            return false;
    }
    return true;
}

bool UpdateDelayTables(DelaysFileWords& words)
{
    if (words.Next() == "EXIT") return false;
    for (std::vector<DelayEntry>& entries : transitionsarrays) {
        words.Next();  // sub-model name
        words.Next();  // entry count
        for (DelayEntry& entry : entries) {
            words.Next();  // transition name
            words.Next();  // unused number
            if (!words.AtEnd()) entry.delay = words.NextDouble();
        }
    }
    return true;
}
