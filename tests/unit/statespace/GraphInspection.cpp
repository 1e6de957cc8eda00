// Reading the generated graph in tests.
#include "GraphInspection.h"

#include <sstream>

#include "statedata/NetCounts.h"
#include "statedata/StateSpaceGlobals.h"

std::vector<Marking*> StoredMarkings()
{
    std::vector<Marking*> all;
    for (unsigned k = 0; k < MHash.GetCounter(); ++k) all.push_back(&MHash.Stored(k));
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
    const short* ata = m.GetAta();
    if (!ata) return {};
    return std::vector<short>(ata, ata + no_of_exc_transitions);
}

std::vector<const stt*> Edges(const Marking& m)
{
    std::vector<const stt*> edges;
    for (const stt& s : m.Edges()) edges.push_back(&s);
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

std::vector<std::string> GraphLines(const std::vector<Place*>& places)
{
    std::vector<Marking*> all = StoredMarkings();
    std::vector<std::string> lines;
    for (Marking* m : all) {
        std::ostringstream line;
        for (const Place* p : places) line << Tokens(*m, p) << ' ';
        line << '|';
        for (short a : AtaOf(*m)) line << ' ' << a;
        line << " |";
        for (const stt* e : Edges(*m)) {
            std::size_t target = 0;
            while (target < all.size() && all[target] != e->Target()) ++target;
            line << ' ' << target << ':' << e->GetDelayVal() << ':' << e->GetTransNo();
        }
        lines.push_back(line.str());
    }
    return lines;
}
