// Room for items appended a few at a time and dropped all together, reused
// from one batch to the next. Taking room does not clear it: every caller
// writes all the room it takes, and a successor's words or ata would
// otherwise be written twice.
#pragma once

#include <algorithm>
#include <cstddef>
#include <vector>

template <class T>
class AppendBuffer {
public:
    // Room for n more items; answers where it starts. Earlier positions stay
    // valid, pointers into the buffer do not.
    std::size_t Take(std::size_t n)
    {
        const std::size_t at = used;
        used += n;
        if (items.size() < used) items.resize(std::max(used, 2 * items.size()));
        return at;
    }
    // Gives back everything from `at` on.
    void GiveBack(std::size_t at) { used = std::min(used, at); }
    void Clear() { used = 0; }
    std::size_t Size() const { return used; }
    T* At(std::size_t at) { return items.data() + at; }

private:
    std::vector<T> items;
    std::size_t used = 0;
};
