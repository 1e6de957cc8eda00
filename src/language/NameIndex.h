// A hash index over one of the registries the reader fills (definitions,
// pages, parameters, places, ports, transition names, colours), so that a
// name is found without scanning the list; as in a scan, the first item of
// a key wins, and its position in the list comes with it. `KeyOf::Of(item)`
// gives an item's key. The index follows the list by its count: the reader
// only appends while it reads a description, so the items appended since the
// last lookup are taken in from where the index stopped; a list that shrank
// was cleared and is indexed anew. Every description starts with a forgotten
// index (Forget), so an index is only used while a description is read.
#pragma once

#include <string>
#include <unordered_map>

#include "foundation/PtrList.h"

template <class T, class KeyOf>
class NameIndex {
public:
    // The first item with the key, or null; `position` (when given)
    // receives its 1-based position, 0 for none.
    T* Find(const PtrList<T>& list, const std::string& key, int* position = nullptr)
    {
        CatchUp(list);
        auto found = byKey.find(key);
        if (position) *position = found == byKey.end() ? 0 : found->second.position;
        return found == byKey.end() ? nullptr : found->second.item;
    }

    // Releases all the index holds.
    void Forget()
    {
        std::unordered_map<std::string, Entry>().swap(byKey);
        lastIndexed = nullptr;
        indexed = 0;
    }

private:
    struct Entry {
        T* item;
        int position;
    };

    void CatchUp(const PtrList<T>& list)
    {
        if (list.count < indexed) Forget();
        for (PLElement<T>* e = lastIndexed ? lastIndexed->next : list.first; e; e = e->next) {
            ++indexed;
            byKey.emplace(KeyOf::Of(*e->item), Entry{e->item, indexed});
            lastIndexed = e;
        }
    }

    std::unordered_map<std::string, Entry> byKey;
    PLElement<T>* lastIndexed = nullptr;
    int indexed = 0;
};
