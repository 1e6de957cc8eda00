// Reading the generated graph in tests.
#include "GraphInspection.h"

#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"

std::vector<Marking*> StoredMarkings()
{
    std::vector<Marking*> all;
    std::vector<TreeNode<Marking>*> pending;
    for (unsigned i = 0; i < MHash.GetSize(); ++i) {
        if (MHash.GetBucket(i).node) pending.push_back(MHash.GetBucket(i).node);
        while (!pending.empty()) {
            TreeNode<Marking>* n = pending.back();
            pending.pop_back();
            all.push_back(&n->elem);
            if (n->left) pending.push_back(n->left);
            if (n->right) pending.push_back(n->right);
        }
    }
    return all;
}

int Tokens(const Marking& m, const Place* place)
{
    const Pms& pms = m.GetPms();
    for (int i = 0; i < pms.size; ++i)
        if (pms.places[i].place == place->GetNo()) return pms.places[i].quant;
    return 0;
}

std::vector<short> AtaOf(const Marking& m)
{
    if (!m.GetAta()) return {};
    return std::vector<short>(m.GetAta(), m.GetAta() + no_of_exc_transitions);
}

std::vector<const stt*> Edges(const Marking& m)
{
    std::vector<const stt*> edges;
    for (const stt* s = m.GetStt(); s; s = s->next) edges.push_back(s);
    return edges;
}

Marking* FindMarking(const std::vector<int>& tokens, const std::vector<short>& ata)
{
    for (Marking* m : StoredMarkings()) {
        if (AtaOf(*m) != ata) continue;
        bool same = true;
        std::vector<int> have(tokens.size(), 0);
        const Pms& pms = m->GetPms();
        for (int i = 0; i < pms.size; ++i) {
            auto place = static_cast<std::size_t>(pms.places[i].place);
            if (place >= have.size())
                same = false;
            else
                have[place] = pms.places[i].quant;
        }
        if (same && have == tokens) return m;
    }
    return nullptr;
}
