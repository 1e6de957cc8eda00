// PtrList<T>: the engine's one container, a singly linked list of item
// pointers with count, head and tail. Positions are 1-based; search and the
// unique appends compare items by value (T::operator==). The list never copies
// items: "soft" operations release only elements, "hard" ones also the items.
#pragma once

#include <cstddef>

#include "foundation/RecordPool.h"

template <class T>
class PLElement {
public:
    // Lists of markings hold an element per state of large graphs: the
    // elements come from a pool, without a heap header each.
    static void* operator new(std::size_t) { return pool.Allocate(); }
    static void operator delete(void* p) { pool.Release(p); }

    PLElement() = default;
    explicit PLElement(T* p) : item(p) {}
    PLElement(const PLElement& o) : item(o.item) {}
    PLElement& operator=(const PLElement& o)
    {
        item = o.item;
        next = nullptr;
        return *this;
    }

    bool operator==(const PLElement& o) const
    {
        if (!item && !o.item) return true;
        if (!item || !o.item) return false;
        return *item == *o.item;
    }
    bool operator!=(const PLElement& o) const { return !(*this == o); }

    T* item = nullptr;
    PLElement* next = nullptr;

private:
    // Never destroyed: elements may still be freed while other statics (the
    // global registries) are torn down at exit. Short lists come and go
    // all the time: the chunks are kept.
    static constinit inline RecordPool pool{2 * sizeof(void*), alignof(void*), true};
};

template <class T>
class PtrList {
public:
    PtrList() = default;
    explicit PtrList(T* p) { Append(p); }
    PtrList(const PtrList& a) { CopyFrom(a); }
    PtrList(const PtrList& a, const PtrList& b)
    {
        CopyFrom(a);
        CopyFrom(b);
    }
    ~PtrList() { SoftClear(); }

    PtrList& operator=(const PtrList& a)
    {
        if (this == &a) return *this;
        SoftClear();
        CopyFrom(a);
        return *this;
    }

    void SoftClear()
    {
        while (first) {
            PLElement<T>* e = first;
            first = e->next;
            delete e;
        }
        last = nullptr;
        count = 0;
    }

    void HardClear()
    {
        while (first) {
            PLElement<T>* e = first;
            first = e->next;
            DestroyItem(e->item);
            delete e;
        }
        last = nullptr;
        count = 0;
    }

    int Append(T* p)
    {
        Link(new PLElement<T>(p));
        return count;
    }

    T* RefAppend(T* p)
    {
        Link(new PLElement<T>(p));
        return p;
    }

    // Returns -k when an equal item already stands at position k.
    int UAppend(T* p)
    {
        int k = GetPos(p);
        if (k > 0) return -k;
        return Append(p);
    }

    T* URefAppend(T* p)
    {
        if (T* stored = GetLE(p)) return stored;
        return RefAppend(p);
    }

    void DelSoft(int i) { delete Unlink(i); }

    void DelHard(int i)
    {
        PLElement<T>* e = Unlink(i);
        if (!e) return;
        DestroyItem(e->item);
        delete e;
    }

    int GetPos(const T* p) const
    {
        int pos = 1;
        for (PLElement<T>* e = first; e; e = e->next, ++pos)
            if (Equal(e->item, p)) return pos;
        return -1;
    }

    T* GetLE(const T* p) const
    {
        for (PLElement<T>* e = first; e; e = e->next)
            if (Equal(e->item, p)) return e->item;
        return nullptr;
    }

    T* GetLE(int i) const
    {
        if (i < 1 || i > count) return nullptr;
        PLElement<T>* e = first;
        while (--i > 0) e = e->next;
        return e->item;
    }

    int IsIn(const T* p) const { return GetPos(p) > 0 ? 1 : 0; }

    // Order-insensitive and not one-to-one: equal counts and every left item
    // has an equal somewhere on the right.
    int operator==(const PtrList& a) const
    {
        if (count != a.count) return 0;
        if (count == 0) return 1;
        int matched = 0;
        for (PLElement<T>* e = first; e; e = e->next)
            for (PLElement<T>* f = a.first; f; f = f->next)
                if (PLElement<T>(e->item) == PLElement<T>(f->item)) {
                    ++matched;
                    break;
                }
        return matched == count ? 1 : 0;
    }
    int operator!=(const PtrList& a) const { return (*this == a) ? 0 : 1; }

    int count = 0;
    PLElement<T>* first = nullptr;
    PLElement<T>* last = nullptr;

private:
    static bool Equal(const T* stored, const T* wanted)
    {
        if (!stored || !wanted) return stored == wanted;
        return *stored == *wanted;
    }

    static void DestroyItem(T* item)
    {
        if (!item) return;
        item->Clear();
        delete item;
    }

    void Link(PLElement<T>* e)
    {
        if (!first) {
            first = last = e;
        } else {
            last->next = e;
            last = e;
        }
        ++count;
    }

    void CopyFrom(const PtrList& a)
    {
        for (PLElement<T>* e = a.first; e; e = e->next) Append(e->item);
    }

    PLElement<T>* Unlink(int i)
    {
        if (i < 1 || i > count || !first) return nullptr;
        PLElement<T>* gone;
        if (i == 1) {
            gone = first;
            first = gone->next;
            if (!first) last = nullptr;
        } else {
            PLElement<T>* prev = first;
            for (int k = 2; k < i; ++k) prev = prev->next;
            gone = prev->next;
            prev->next = gone->next;
            if (gone == last) last = prev;
        }
        --count;
        return gone;
    }
};
