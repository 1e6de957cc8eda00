// The chunks of the pools and arenas form a singly linked list through
// their `next` member, each chunk one allocation of operator new.
#pragma once

#include <new>

// Frees every chunk of the list and leaves it empty.
template <class Chunk>
void FreeChunkList(Chunk*& head)
{
    while (head) {
        Chunk* gone = head;
        head = gone->next;
        ::operator delete(gone);
    }
}
