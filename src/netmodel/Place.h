// Place: a place of the net, its header coupled with its capacity. The
// header belongs to the net (the place refers to it); the capacity is the
// place's own copy.
#pragma once

#include "netmodel/Capacity.h"
#include "netmodel/PlaceHeader.h"

class Place {
public:
    Place() = default;
    Place(PlaceHeader* h, const Capacity& c) : cap(c), ph(h) {}
    Place(const Place& o) = default;
    Place& operator=(const Place& o) = default;

    void ClassChk() const;
    void EvalCellVars() { cap.EvalCap(); }

    // Capacity tests; the capacity of a marking-dependent expression is
    // evaluated on the actual contents.
    bool CapacityOk(long n) const { return cap.GetCap() >= n; }
    bool ActCapacityOk(long n) const { return cap.GetCap() >= ph->GetActTmsQuant() + n; }
    bool NewCapacityOk(long n) const { return cap.GetCap() >= ph->GetNewTmsQuant() + n; }
    bool ActCapacityOk() const { return ActCapacityOk(0); }
    bool NewCapacityOk() const { return NewCapacityOk(0); }
    bool TmsCapacityOk() const { return cap.GetCap() >= ph->GetTmsQuant(); }

    PlaceType GetPT() const { return ph->GetPT(); }
    void SetPT(PlaceType t) { ph->SetPT(t); }
    int GetNo() const { return ph->GetNo(); }
    const Textual& GetName() const { return ph->GetName(); }
    Tms*& GetTms() { return ph->GetTms(); }
    PTms*& GetActTms() { return ph->GetActTms(); }
    PTms*& GetNewTms() { return ph->GetNewTms(); }
    unsigned short GetActTmsQuant() const { return ph->GetActTmsQuant(); }
    unsigned short GetNewTmsQuant() const { return ph->GetNewTmsQuant(); }
    void Init() { ph->Init(); }
    void InitAct() { ph->InitAct(); }
    void InitNew() { ph->InitNew(); }
    void InitPTms(const MTms& m) { ph->InitPTms(m); }
    void InitActTms(const MTms& m) { ph->InitActTms(m); }
    void InitNewTms(const MTms& m) { ph->InitNewTms(m); }
    bool ActContentsOk(const Tms* need) const { return ph->ActContentsOk(need); }
    bool NewContentsOk(const Tms* need) const { return ph->NewContentsOk(need); }
    void CpyActToNew() { ph->CpyActToNew(); }
    Capacity& GetCapacity() { return cap; }
    PlaceHeader* GetPlaceHeader() const { return ph; }

    bool operator==(const Place& o) const;
    bool operator!=(const Place& o) const { return !(*this == o); }
    void Clear()
    {
        cap.Clear();
        ph = nullptr;
    }

    [[noreturn]] static void PlaceError(int line, const char* function, const char* description);

private:
    Capacity cap;
    PlaceHeader* ph = nullptr;
};
