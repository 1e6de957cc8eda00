// Test helper: a place header with plain tokens, actual and new contents alike.
#pragma once

#include <memory>

#include "Multisets.h"
#include "netmodel/PlaceHeader.h"

inline std::unique_ptr<PlaceHeader> ElementaryHeader(const char* name, unsigned short tokens)
{
    auto ph = std::make_unique<PlaceHeader>(name);
    auto slots = Ms({{0, tokens}});
    PTms* p = tms2ptms(slots.get());
    ph->SetPTms(p);
    clear_ptms(p);
    return ph;
}
