// Listing of markings: labels and status names are fixed, the layout of the
// vector lines is this listing's own.
#include "statedata/MarkingListing.h"

#include "statedata/Marking.h"
#include "statedata/NetCounts.h"

#include <iostream>

const char* MStatusName(int status)
{
    static const char* const kNames[] = {"unknown",      "counted",        "initial",
                                         "visited",      "R visited",      "last of succ",
                                         "R last of succ", "q sended",     "d sended"};
    if (status < 0 || status > static_cast<int>(kStatusDSended)) return kNames[kStatusUnknown];
    return kNames[status];
}

void ShowMStatus(int status) { std::cout << MStatusName(status); }

void ShowDelayType(int type) { std::cout << DelayTypeName(type); }

void ShowAta(const short* ata)
{
    std::cout << "Act. Trans.: ";
    if (!ata) {
        std::cout << "none\n";
        return;
    }
    for (unsigned i = 0; i < no_of_exc_transitions; ++i) std::cout << (i ? " " : "") << ata[i];
    std::cout << "\n";
}

void ShowPms(const Pms& pms)
{
    if (pms.size <= 0 || !pms.places) {
        std::cout << "empty marking\n";
        return;
    }
    for (int i = 0; i < pms.size; ++i) {
        const MTms& m = pms.places[i];
        std::cout << "Place " << m.place << " : " << m.quant << " token(s) =";
        for (int k = 0; k < m.kinds; ++k)
            std::cout << " [" << m.entries[k].index << "]:" << m.entries[k].quant;
        std::cout << "\n";
    }
}

void ShowMarking(const Marking* m)
{
    if (!m) {
        std::cout << "\tmarking is NULL-pointer\n";
        return;
    }
    std::cout << "Key/Number : " << m->GetKey() << "\n"
              << "Status     : " << MStatusName(static_cast<int>(m->GetStatus())) << "\n"
              << "Type       : " << DelayTypeName(static_cast<int>(m->GetType())) << "\n";
    ShowAta(m->GetAta());
    ShowPms(m->GetPms());
}
