// BindingList: recording-order array presented head first, then newest first.
#include "statedata/BindingList.h"

#include <algorithm>

BindingList::BindingList(const BindingList& o) { *this = o; }

BindingList& BindingList::operator=(const BindingList& o)
{
    if (this == &o) return *this;
    if (capacity < o.count) {
        delete[] items;
        items = new Binding*[o.count];
        capacity = o.count;
    }
    std::copy_n(o.items, o.count, items);
    count = o.count;
    return *this;
}

void BindingList::Add(Binding* b)
{
    if (count == capacity) {
        capacity = capacity == 0 ? 4 : capacity * 2;
        Binding** grown = new Binding*[capacity];
        std::copy_n(items, count, grown);
        delete[] items;
        items = grown;
    }
    items[count++] = b;
}

// Position 1 is the first binding recorded; position k > 1 is the one
// recorded (k - 1)-th from last.
Binding* BindingList::GetLE(int pos) const
{
    if (pos < 1 || pos > count) return nullptr;
    return pos == 1 ? items[0] : items[count - pos + 1];
}
