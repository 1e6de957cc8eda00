// Arena<T>: append-only storage for the elements of a store. Objects are
// constructed in large chunks and never freed one by one; Reset destroys them
// all (keeping the first chunk for reuse), Release also returns the memory.
// This suits the marking stores, whose elements live until the store is
// cleaned and which hold millions of them.
#pragma once

#include <cstddef>
#include <new>
#include <utility>

#include "foundation/ChunkList.h"

template <class T>
class Arena {
public:
    Arena() = default;
    Arena(const Arena&) = delete;
    Arena& operator=(const Arena&) = delete;
    ~Arena() { Release(); }

    template <class... Args>
    T* Create(Args&&... args)
    {
        if (!current || current->used == current->capacity) NextChunk();
        T* slot = current->Slot(current->used);
        new (slot) T(std::forward<Args>(args)...);
        ++current->used;
        return slot;
    }

    // Destroys every object; the first chunk is kept for the next round.
    void Reset()
    {
        DestroyAll();
        if (!first) return;
        FreeChunkList(first->next);
        first->used = 0;
        current = first;
    }

    // Destroys every object and frees all memory.
    void Release()
    {
        DestroyAll();
        FreeChunkList(first);
        current = nullptr;
    }

private:
    struct Chunk {
        Chunk* next;
        std::size_t used;
        std::size_t capacity;
        T* Slot(std::size_t i) { return reinterpret_cast<T*>(reinterpret_cast<char*>(this) + Header()) + i; }
    };
    static constexpr std::size_t Header()
    {
        return (sizeof(Chunk) + alignof(T) - 1) / alignof(T) * alignof(T);
    }
    static constexpr std::size_t kFirstCapacity = 64;
    static constexpr std::size_t kMaxCapacity = 1u << 15;

    void NextChunk()
    {
        std::size_t capacity = current ? current->capacity * 2 : kFirstCapacity;
        if (capacity > kMaxCapacity) capacity = kMaxCapacity;
        Chunk* c = static_cast<Chunk*>(::operator new(Header() + capacity * sizeof(T)));
        c->next = nullptr;
        c->used = 0;
        c->capacity = capacity;
        if (current)
            current->next = c;
        else
            first = c;
        current = c;
    }

    void DestroyAll()
    {
        for (Chunk* c = first; c; c = c->next) {
            for (std::size_t i = 0; i < c->used; ++i) c->Slot(i)->~T();
            c->used = 0;
        }
    }

    Chunk* first = nullptr;
    Chunk* current = nullptr;
};
