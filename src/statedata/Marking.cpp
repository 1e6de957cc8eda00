// Marking: construction, the store order, edges and release.
#include "statedata/Marking.h"

#include "statedata/NetCounts.h"

namespace {

unsigned Fold(unsigned h)
{
    unsigned g = h & 0xF0000000u;
    if (g != 0) h ^= (g >> 24) ^ g;
    return h;
}

}  // namespace

constinit RecordPool Marking::pool{sizeof(Marking)};

Marking::Marking() = default;

Marking::Marking(const Pms& p) { copy_c_pms(p, pms); }

Marking::Marking(const short* a) : ata(make_ata(a)) {}

Marking::Marking(const Pms& p, const short* a) : ata(make_ata(a)) { copy_c_pms(p, pms); }

Marking::Marking(const Marking& o) { CopyFrom(o); }

Marking::Marking(const Marking& o, BlockArena& blocks)
    : key(o.key), lent(1), type(o.type), status(o.status)
{
    if (o.ata) ata = make_ata_at(o.ata, blocks.Allocate(ata_bytes()));
    if (std::size_t bytes = pms_bytes(o.pms)) copy_pms_at(o.pms, pms, blocks.Allocate(bytes));
}

Marking& Marking::operator=(const Marking& o)
{
    if (this == &o) return *this;
    Clear();
    CopyFrom(o);
    return *this;
}

void Marking::CopyFrom(const Marking& o)
{
    key = o.key;
    status = o.status;
    type = o.type;
    ata = make_ata(o.ata);
    copy_c_pms(o.pms, pms);
    edges = nullptr;
}

// The ata is mixed in so that markings that differ only in their active
// bindings spread over the buckets too.
void Marking::CreateKey()
{
    key = KeyOf(pms, ata);
}

unsigned Marking::KeyOf(const Pms& pms, const short* ata)
{
    unsigned k = create_key(pms);
    if (k == 0) k = 1;
    if (ata) {
        unsigned h = 0;
        for (unsigned i = 0; i < no_of_exc_transitions; ++i) {
            unsigned factor = ata[i] != 0 ? static_cast<unsigned>(ata[i]) : 65599u;
            h = Fold((h << 4) + (i + 1) * factor);
        }
        k = (k << 4) + h;
        if (k == 0) k = 1;
    }
    return k;
}

int Marking::Comp(const Marking& o) const
{
    if (key != o.key) return key < o.key ? -1 : 1;
    if (ata && o.ata) {
        for (unsigned i = 0; i < no_of_exc_transitions; ++i)
            if (ata[i] != o.ata[i]) return ata[i] < o.ata[i] ? -1 : 1;
    } else if (ata || o.ata) {
        return ata ? 1 : -1;  // the marking without ata is smaller
    }
    return comp_pms(pms, o.pms);
}

bool Marking::operator==(const Marking& o) const
{
    return type == o.type && ata_eq(ata, o.ata) && pms_eq(pms, o.pms);
}

void Marking::AddMarking(Marking& target, const DelayVal& d) { AddStt(edges, target, d); }

void Marking::UAddMarking(Marking& target, const DelayVal& d, bool& merged)
{
    merged = false;
    if (d.GetDelayType() == kDelayProbability) {
        for (stt* s = edges; s; s = s->next) {
            if (s->GetDelayType() != kDelayProbability || !s->Target()) continue;
            if (s->Target() == &target || *s->Target() == target) {
                s->SetDelayVal(s->GetDelayVal() + d.GetDelayVal());
                merged = true;
                return;
            }
        }
    }
    AddMarking(target, d);
}

void Marking::Clean()
{
    if (lent) {
        ata = nullptr;
        pms = Pms{0, nullptr};
        lent = 0;
    }
    clear_ata(ata);
    clear_pms(pms);
    status = 0;
    type = 0;
    key = 1;
}

void Marking::Clear()
{
    ClearStt(edges);
    Clean();
}

void Marking::ClearTotal()
{
    ClearSttTotal(edges);
    Clean();
}
