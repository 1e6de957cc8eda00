// A hash index by name over a list of named items (definitions, pages,
// parameters), so that the reader finds a name without scanning the list;
// as in a scan, the first item of a name wins. The index follows the list by
// its count: the reader only appends while it reads a description, so the
// items appended since the last lookup are taken in from where the index
// stopped; a list that shrank was cleared and is indexed anew. A new
// description starts with a forgotten index (Forget).
#pragma once

#include <string>
#include <unordered_map>

#include "foundation/PtrList.h"
#include "foundation/Str.h"

template <class T>
class NameIndex {
public:
    T* Find(const PtrList<T>& list, const Str& name)
    {
        CatchUp(list);
        auto found = byName.find(Key(name));
        return found == byName.end() ? nullptr : found->second;
    }

    // Releases all the index holds.
    void Forget()
    {
        std::unordered_map<std::string, T*>().swap(byName);
        lastIndexed = nullptr;
        indexed = 0;
    }

private:
    static std::string Key(const Str& name) { return name.IsNull() ? "" : name.GetCChar(); }

    void CatchUp(const PtrList<T>& list)
    {
        if (list.count < indexed) Forget();
        for (PLElement<T>* e = lastIndexed ? lastIndexed->next : list.first; e; e = e->next) {
            byName.emplace(Key(e->item->GetName()), e->item);
            lastIndexed = e;
            ++indexed;
        }
    }

    std::unordered_map<std::string, T*> byName;
    PLElement<T>* lastIndexed = nullptr;
    int indexed = 0;
};
