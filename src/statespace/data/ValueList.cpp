// Linked lists of distinct values: append unless present.
#include "statespace/data/Multiset.h"

namespace {

template <class List, class V>
void AddUnique(List*& l, V v)
{
    List** link = &l;
    for (; *link; link = &(*link)->next)
        if ((*link)->value == v) return;
    *link = new List{v, nullptr};
}

template <class List>
void ClearList(List*& l)
{
    while (l) {
        List* gone = l;
        l = gone->next;
        delete gone;
    }
}

}  // namespace

void add_short(short_list*& l, short v) { AddUnique(l, v); }
void add_int(int_list*& l, int v) { AddUnique(l, v); }
void clear_short(short_list*& l) { ClearList(l); }
void clear_lst(int_list*& l) { ClearList(l); }
