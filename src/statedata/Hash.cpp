// Hash<T>: buckets of search trees, kept shallow on insertion.
//
// While descending, the store remembers a chain of up to three nodes that
// lie on a "stick" (no child on the side not taken): the root always starts
// the chain; a node with a child on the other side ends it and the next node
// starts a new one, as does a fourth link. A new node hung below a chain of
// root + one link, or of three links, is rotated with the chain's last two
// nodes into a balanced triple. Otherwise the new node is a plain leaf and
// the root's two side counters decide whether the root itself is rotated
// towards the lighter side.
#include "statedata/Hash.h"

#include "foundation/Reporters.h"

#include "statedata/MarkingStore.h"
#include "statedata/NPMarking.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

namespace {

template <class N>
N*& Child(N* n, bool left)
{
    return left ? n->left : n->right;
}

// x's child on `side` comes up; x goes down on the other side.
template <class N>
N* RotateUp(N* x, bool side)
{
    N* c = Child(x, side);
    Child(x, side) = Child(c, !side);
    Child(c, !side) = x;
    return c;
}

// x's grandchild on (side, other side) comes up between its child and x.
template <class N>
N* RotateUpTwice(N* x, bool side)
{
    N* c = Child(x, side);
    N* g = Child(c, !side);
    Child(c, !side) = Child(g, side);
    Child(x, side) = Child(g, !side);
    Child(g, side) = c;
    Child(g, !side) = x;
    return g;
}

// n1 -d1-> n2 -d2-> n3: the middle element of the three comes on top.
template <class N>
N* Balance(N* n1, bool d1, bool d2)
{
    return d1 == d2 ? RotateUp(n1, d1) : RotateUpTwice(n1, d1);
}

const char* const kDashRule = "---------------------------------------------------------------";
const char* const kPairRule = "- - - - - - - - - - - - - - - - - - - - - - - - - - - -";

}  // namespace

template <class T>
Hash<T>::Hash(unsigned n) : table(n > 0 ? new TreeRoot<T>[n]() : nullptr), size(n)
{
}

template <class T>
Hash<T>::~Hash()
{
    Clear();
}

template <class T>
void Hash<T>::CreateHash(unsigned n, Mode mode)
{
    if (n == 0) return;
    Clear();
    table = new TreeRoot<T>[n]();
    size = n;
    progress.Reset(mode);
}

template <class T>
void Hash<T>::CleanHash()
{
    ClearIndex();
    nodes.Reset();
    for (unsigned i = 0; i < size; ++i) table[i] = TreeRoot<T>();
    counter = 0;
    progress.Restart();
}

template <class T>
void Hash<T>::Clear()
{
    CleanHash();
    std::vector<std::uintptr_t>().swap(index);
    nodes.Release();
    delete[] table;
    table = nullptr;
    size = 0;
}

template <class T>
T* Hash<T>::SaveUnshown(T* element, bool& found)
{
    showProgress = false;
    T* stored = Save(element, found);
    showProgress = true;
    return stored;
}

template <class T>
T* Hash<T>::Save(T* element, bool& found)
{
    found = element == nullptr;
    if (!element || !table) return nullptr;
    if (T* stored = FindInIndex(*element)) {
        found = true;
        return stored;
    }
    TreeRoot<T>& root = table[element->GetKey() % size];
    if (!root.node) {
        root.ll = root.rl = 0;
        return Store(root.node, *element);
    }
    return Insert(root, *element, found);
}

namespace {

// Spreads the keys over the index (Fibonacci hashing).
std::size_t IndexStart(unsigned key, std::size_t mask)
{
    return (static_cast<std::size_t>(key) * 0x9E3779B97F4A7C15ull >> 32) & mask;
}

constexpr int kSlotTagShift = 48;

std::uintptr_t SlotTag(unsigned key)
{
    return static_cast<std::uintptr_t>(key >> 16) << kSlotTagShift;
}

}  // namespace

template <class T>
std::uintptr_t Hash<T>::Slot(Node* node)
{
    auto address = reinterpret_cast<std::uintptr_t>(node);
    if (address >> kSlotTagShift)
        MErr(__LINE__, "Hash", "The address of a stored marking does not fit the store's index");
    return address | SlotTag(node->elem.GetKey());
}

template <class T>
typename Hash<T>::Node* Hash<T>::SlotNode(std::uintptr_t slot)
{
    return reinterpret_cast<Node*>(slot & ((std::uintptr_t{1} << kSlotTagShift) - 1));
}

template <class T>
template <class Visit>
void Hash<T>::ProbeIndex(unsigned key, Visit visit) const
{
    if (index.empty()) return;
    std::size_t mask = index.size() - 1;
    std::uintptr_t tag = SlotTag(key);
    constexpr std::uintptr_t kAddressBits = (std::uintptr_t{1} << kSlotTagShift) - 1;
    for (std::size_t i = IndexStart(key, mask);; i = (i + 1) & mask) {
        std::uintptr_t slot = index[i];
        if (!slot) return;
        if ((slot & ~kAddressBits) == tag && visit(SlotNode(slot))) return;
    }
}

template <class T>
T* Hash<T>::FindInIndex(const T& element) const
{
    unsigned key = element.GetKey();
    T* found = nullptr;
    ProbeIndex(key, [&](Node* node) {
        if (node->elem.GetKey() != key || node->elem.Comp(element) != 0) return false;
        found = &node->elem;
        return true;
    });
    return found;
}

template <class T>
void Hash<T>::AddToIndex(Node* node)
{
    if (4 * (counter + 1) > 3 * index.size()) {
        std::vector<std::uintptr_t> old(index.size() < 16 ? 32 : 2 * index.size(), 0);
        old.swap(index);
        for (std::uintptr_t slot : old)
            if (slot) AddToIndex(SlotNode(slot));
    }
    std::size_t mask = index.size() - 1;
    std::size_t i = IndexStart(node->elem.GetKey(), mask);
    while (index[i]) i = (i + 1) & mask;
    index[i] = Slot(node);
}

// The store of vanishing markings is emptied after every resolution: a table
// grown by one large resolution is not swept again for the many small ones.
template <class T>
void Hash<T>::ClearIndex()
{
    if (counter == 0) return;
    if (index.size() > 1024 && 16 * counter < index.size())
        index.assign(32, 0);
    else
        std::fill(index.begin(), index.end(), 0);
}

template <class T>
T* Hash<T>::Store(Node*& link, const T& element)
{
    link = nodes.Create(element);
    AddToIndex(link);
    ++counter;
    if (showProgress) progress.Counted(counter);
    return &link->elem;
}

template <class T>
T* Hash<T>::Insert(TreeRoot<T>& root, T& element, bool& found)
{
    Node* chain[3] = {root.node, nullptr, nullptr};
    bool towards[3] = {false, false, false};  // side taken below each chain node
    int links = 1;
    bool restartNext = false;
    bool rootLeft = false;
    bool childLeft = false;
    int depth = 0;
    bool left = false;  // side taken below the current node
    Node* node = root.node;
    for (;;) {
        int c = node->elem.Comp(element);
        if (c == 0) {
            found = true;
            return &node->elem;
        }
        left = c < 0;  // an element larger than the node goes left
        if (depth == 0) {
            rootLeft = left;
        } else {
            if (depth == 1) childLeft = left;
            if (restartNext) {
                chain[0] = node;
                links = 1;
                restartNext = false;
            } else if (Child(node, !left)) {
                links = 0;
                restartNext = true;
            } else if (links == 3) {
                chain[0] = node;
                links = 1;
            } else {
                chain[links++] = node;
            }
        }
        if (links > 0) towards[links - 1] = left;
        Node*& next = Child(node, left);
        if (!next) break;
        node = next;
        ++depth;
    }

    T* stored = Store(Child(node, left), element);
    if (links == 2 && chain[0] == root.node) {
        root.node = Balance(chain[0], towards[0], towards[1]);
        root.ll = root.rl = 1;
    } else if (links == 3) {
        Child(chain[0], towards[0]) = Balance(chain[1], towards[1], towards[2]);
    } else {
        unsigned short& heavy = rootLeft ? root.ll : root.rl;
        unsigned short& light = rootLeft ? root.rl : root.ll;
        ++heavy;
        if (depth + 1 >= 3 && heavy >= light + 2) {
            root.node = childLeft == rootLeft ? RotateUp(root.node, rootLeft)
                                              : RotateUpTwice(root.node, rootLeft);
            --heavy;
            ++light;
        }
    }
    return stored;
}

template <class T>
void Hash<T>::ShowHashDistribution() const
{
    std::ostream& out = std::cout;
    out << kDashRule << "\n"
        << "start ->->->->->->->-> HASH DISTRIBUTION\n"
        << "MARK: Only hash entries with more than 2 markings will be shown!\n";
    unsigned long total = 0, filled = 0, lefts = 0, rights = 0, empty = 0, widest = 0;
    std::vector<const Node*> pending;
    for (unsigned i = 0; i < size; ++i) {
        const TreeRoot<T>& root = table[i];
        if (!root.node) {
            ++empty;
            continue;
        }
        unsigned long l = 0, r = 0;
        pending.assign(1, root.node);
        while (!pending.empty()) {
            const Node* n = pending.back();
            pending.pop_back();
            if (n->left) {
                ++l;
                pending.push_back(n->left);
            }
            if (n->right) {
                ++r;
                pending.push_back(n->right);
            }
        }
        if (l + r >= 3)
            out << "pos = " << i << " \tl=" << l << "\tr=" << r << "\tll=" << root.ll
                << "\trl=" << root.rl << "\n";
        total += 1 + l + r;
        ++filled;
        lefts += l;
        rights += r;
        if (l + r > widest) widest = l + r;
    }
    out << kPairRule << "\n"
        << "markings total           : " << total << "\n"
        << "markings in null pos     : " << filled << "\n"
        << "markings left  hand      : " << lefts << "\n"
        << "markings right hand      : " << rights << "\n"
        << "=> markings total        : " << filled + lefts + rights << "\n"
        << "empty entries            : " << empty << "\n"
        << "max. fill./hash pos.     : " << widest + 1 << "\n"
        << kPairRule << "\n"
        << "stop  ->->->->->->->-> HASH DISTRIBUTION\n"
        << std::flush;
}

template class Hash<MarkingRef>;
template class Hash<NPMarking>;
