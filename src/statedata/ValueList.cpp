// Linked lists of distinct values: append unless present. The nodes come
// from a pool per list kind: every pending successor holds such a list.
#include <new>

#include "statedata/Multiset.h"
#include "foundation/RecordPool.h"

namespace {

template <class List>
RecordPool& NodePool()
{
    static RecordPool pool(sizeof(List));
    return pool;
}

template <class List, class V>
void AddUnique(List*& l, V v)
{
    List** link = &l;
    for (; *link; link = &(*link)->next)
        if ((*link)->value == v) return;
    *link = new (NodePool<List>().Allocate()) List{v, nullptr};
}

template <class List>
void ClearList(List*& l)
{
    while (l) {
        List* gone = l;
        l = gone->next;
        NodePool<List>().Release(gone);
    }
}

}  // namespace

void add_short(short_list*& l, short v) { AddUnique(l, v); }
void add_int(int_list*& l, int v) { AddUnique(l, v); }
void clear_short(short_list*& l) { ClearList(l); }
void clear_lst(int_list*& l) { ClearList(l); }
