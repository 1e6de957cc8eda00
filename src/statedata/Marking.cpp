// Marking: contents, keys, the store order, edges and ids.
#include "statedata/Marking.h"

#include <cstring>

#include "statedata/EdgeArena.h"
#include "statedata/MarkingCode.h"
#include "statedata/MarkingIds.h"
#include "statedata/NetCounts.h"

namespace {

unsigned Fold(unsigned h)
{
    unsigned g = h & 0xF0000000u;
    if (g != 0) h ^= (g >> 24) ^ g;
    return h;
}

// Decoded contents for GetPms and GetAta: a few at a time, so that the
// contents of two markings can be looked at side by side.
struct DecodeRing {
    static constexpr unsigned kSlots = 4;
    DecodedMarking slots[kSlots];
    unsigned next = 0;

    DecodedMarking& Decode(const std::uint8_t* code)
    {
        DecodedMarking& d = slots[next++ % kSlots];
        d.Decode(code);
        return d;
    }
};

thread_local DecodeRing ring;
thread_local MarkingCode encoder;

const Pms kEmpty{0, nullptr};

}  // namespace

Marking::Marking() : id(stt::kNoTarget)
{
    SetCode(kEmpty, nullptr);
}

Marking::Marking(const Pms& pms) : id(stt::kNoTarget)
{
    SetCode(pms, nullptr);
}

Marking::Marking(const short* ata) : id(stt::kNoTarget)
{
    SetCode(kEmpty, no_of_exc_transitions ? ata : nullptr);
}

Marking::Marking(const Pms& pms, const short* ata) : id(stt::kNoTarget)
{
    SetCode(pms, no_of_exc_transitions ? ata : nullptr);
}

Marking::Marking(const Marking& o)
    : key(o.key), id(stt::kNoTarget), type(o.type), status(o.status)
{
    std::size_t n = CodeSize(o.code);
    auto* copy = new std::uint8_t[n];
    std::memcpy(copy, o.code, n);
    code = copy;
    ownsCode = 1;
}

Marking::Marking(const std::uint8_t* stored, std::uint32_t storeId)
    : key(0), id(storeId), code(stored)
{
}

Marking& Marking::operator=(const Marking& o)
{
    if (this == &o) return *this;
    Marking copy(o);
    FreeCode();
    code = copy.code;
    ownsCode = 1;
    copy.ownsCode = 0;
    key = o.key;
    type = o.type;
    status = o.status;
    ClearEdges();
    return *this;
}

Marking::~Marking()
{
    FreeCode();
    if (id != stt::kNoTarget && (id & MarkingIds::kLooseBit)) MarkingIds::RemoveLoose(id);
}

void Marking::SetCode(const Pms& pms, const short* ata)
{
    const std::uint8_t* c = encoder.Encode(pms, ata);
    auto* copy = new std::uint8_t[encoder.Size()];
    std::memcpy(copy, c, encoder.Size());
    code = copy;
    ownsCode = 1;
}

void Marking::FreeCode()
{
    if (ownsCode) delete[] code;
    code = nullptr;
    ownsCode = 0;
}

const Pms& Marking::GetPms() const
{
    return ring.Decode(code).GetPms();
}

const short* Marking::GetAta() const
{
    return ring.Decode(code).GetAta();
}

unsigned Marking::GetKey() const
{
    if (key != 0) return key;
    DecodedMarking& d = ring.Decode(code);
    return KeyOf(d.GetPms(), d.GetAta());
}

// The ata is mixed in so that markings that differ only in their active
// bindings spread over the buckets too.
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
    unsigned k = GetKey();
    unsigned ok = o.GetKey();
    if (k != ok) return k < ok ? -1 : 1;
    DecodedMarking& a = ring.Decode(code);
    DecodedMarking& b = ring.Decode(o.code);
    const short* x = a.GetAta();
    const short* y = b.GetAta();
    if (x && y) {
        for (unsigned i = 0; i < no_of_exc_transitions; ++i)
            if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
    } else if (x || y) {
        return x ? 1 : -1;  // the marking without ata is smaller
    }
    return comp_pms(a.GetPms(), b.GetPms());
}

bool Marking::operator==(const Marking& o) const
{
    return type == o.type && CodesEqual(code, o.code);
}

std::uint32_t Marking::Id()
{
    if (id == stt::kNoTarget) id = MarkingIds::AddLoose(this);
    return id;
}

void Marking::AddMarking(Marking* target, const DelayVal& d)
{
    EdgeArena::Append(firstEdge, edgeCount, stt(d, target));
    chainTransition = kNotLookedUp;
}

// A million markings take 32 MB; the cached chain transition must not add to it.
static_assert(sizeof(Marking) == 32);

int Marking::ChainTransition() const
{
    if (chainTransition == kNotLookedUp) {
        chainTransition = 0;
        for (const stt& s : Edges())
            if (s.GetDelayType() == kDelayDeterministic || s.GetDelayType() == kDelayGeneral) {
                chainTransition = s.GetTransNo();
                break;
            }
    }
    return chainTransition;
}

void Marking::AddEdgeTo(std::uint32_t targetId, const DelayVal& d)
{
    EdgeArena::Append(firstEdge, edgeCount, stt(d, targetId));
}

void Marking::UAddMarking(Marking& target, const DelayVal& d, bool& merged)
{
    merged = false;
    if (d.GetDelayType() == kDelayProbability) {
        for (stt& s : Edges()) {
            if (s.GetDelayType() != kDelayProbability || !s.Target()) continue;
            if (s.Target() == &target || *s.Target() == target) {
                s.SetDelayVal(s.GetDelayVal() + d.GetDelayVal());
                merged = true;
                return;
            }
        }
    }
    AddMarking(target, d);
}
