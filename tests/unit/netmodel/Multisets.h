// Test helpers for building and reading linked token multisets.
#pragma once

#include <initializer_list>
#include <map>
#include <memory>
#include <utility>

#include "statedata/Multiset.h"

struct TmsDeleter {
    void operator()(Tms* t) const { clear_tms(t); }
};
using OwnedTms = std::unique_ptr<Tms, TmsDeleter>;

// A multiset of (token number, quantity) pairs.
inline OwnedTms Ms(std::initializer_list<std::pair<unsigned short, unsigned short>> elements)
{
    Tms* t = nullptr;
    for (auto [token, quant] : elements) add_tr(t, token, quant);
    return OwnedTms(t);
}

// Token number -> quantity, for order-free comparison.
inline std::map<unsigned short, unsigned short> Contents(const Tms* t)
{
    std::map<unsigned short, unsigned short> m;
    if (t)
        for (const ltoken* e = t->first; e; e = e->next) m[e->token] += e->quant;
    return m;
}

using Counts = std::map<unsigned short, unsigned short>;
