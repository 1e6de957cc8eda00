// Hash<T>: a store of buckets of search trees. A fixed table of buckets
// (bucket = key modulo size), each a binary search tree ordered by T::Comp;
// an element larger than a node goes left. Insertion keeps the trees shallow
// with local restructuring (see Hash.cpp). The store owns one copy of every
// element; elements are never removed one by one. Instantiated (in Hash.cpp)
// for the vanishing markings (NPMarking) and for the trees of the tangible
// store's distribution listing (MarkingRef, see MarkingStore.h).
#pragma once

#include <cstdint>
#include <vector>

#include "statedata/Arena.h"
#include "statedata/HashProgress.h"

template <class T>
struct TreeNode {
    explicit TreeNode(const T& e) : elem(e) {}
    T elem;
    TreeNode* left = nullptr;
    TreeNode* right = nullptr;
};

template <class T>
struct TreeRoot {
    unsigned short ll = 0;  // balance counter of the left subtree
    unsigned short rl = 0;  // balance counter of the right subtree
    TreeNode<T>* node = nullptr;
};

template <class T>
class Hash {
public:
    Hash() = default;
    explicit Hash(unsigned size);
    Hash(const Hash&) = delete;
    Hash& operator=(const Hash&) = delete;
    ~Hash();

    // Size 0 does nothing; otherwise releases everything stored and makes an
    // empty table of `size` buckets with the given progress display.
    void CreateHash(unsigned size, Mode mode);

    // Interns element: returns the stored equal element (found = true, no
    // copy made) or stores a copy and returns it (found = false). A null
    // element, or a store without table, gives null.
    T* Save(T* element, bool& found);
    // Save without the progress display: for a caller that shows the
    // progress itself (ShowProgress), in the order it wants it seen.
    T* SaveUnshown(T* element, bool& found);
    void ShowProgress(unsigned count) { progress.Counted(count); }

    unsigned GetCounter() const { return counter; }
    unsigned GetSize() const { return size; }

    // Frees every stored element and empties the buckets, keeping the table.
    void CleanHash();
    // CleanHash, then releases the table too.
    void Clear();

    void ShowHashDistribution() const;

    // Read access for diagnostics and tests.
    const TreeRoot<T>& GetBucket(unsigned i) const { return table[i]; }

private:
    using Node = TreeNode<T>;
    // The stored elements by key, for finding one without descending its
    // bucket's tree: open addressing with linear probing over a power-of-two
    // table of nodes, at most three quarters full. The trees keep their shape
    // for the listing. A slot holds the node's address with the upper half
    // of its key in the 16 bits above the address, so that probing passes
    // most other nodes without reading them.
    // Calls visit(node) for the nodes whose slots match the key's tag, in
    // probing order, until it answers true or the probe ends.
    template <class Visit>
    void ProbeIndex(unsigned key, Visit visit) const;
    T* FindInIndex(const T& element) const;
    void AddToIndex(Node* node);
    void ClearIndex();

    T* Insert(TreeRoot<T>& root, T& element, bool& found);
    T* Store(Node*& link, const T& element);
    bool showProgress = true;

    TreeRoot<T>* table = nullptr;
    unsigned size = 0;
    unsigned counter = 0;
    HashProgress progress;
    Arena<Node> nodes;
    static std::uintptr_t Slot(Node* node);
    static Node* SlotNode(std::uintptr_t slot);
    std::vector<std::uintptr_t> index;
};
