// BindingList: the bindings of one transition known to be enabled in a
// marking. The first binding recorded heads the list and every later one is
// placed directly after the head, so iteration yields the first binding, then
// the others newest first. Stored as one array in recording order, so that
// copies (made for every successor) cost a single allocation.
#pragma once

class Binding;

class BindingList {
public:
    BindingList() = default;
    BindingList(const BindingList& o);
    BindingList& operator=(const BindingList& o);
    ~BindingList() { delete[] items; }

    void Add(Binding* b);
    int Count() const { return count; }
    // 1-based position in iteration order; null outside 1..Count().
    Binding* GetLE(int pos) const;

    class Iterator {
    public:
        Iterator(const BindingList& l, int p) : list(&l), pos(p) {}
        Binding* operator*() const { return list->GetLE(pos); }
        Iterator& operator++()
        {
            ++pos;
            return *this;
        }
        bool operator!=(const Iterator& o) const { return pos != o.pos; }

    private:
        const BindingList* list;
        int pos;
    };
    Iterator begin() const { return Iterator(*this, 1); }
    Iterator end() const { return Iterator(*this, count + 1); }

private:
    Binding** items = nullptr;  // in recording order
    int count = 0;
    int capacity = 0;
};
