// PlaceHeader: the per-place record the state space works on. Besides the
// number, name, type and declared initial multiset it owns the two dense
// contents used while the graph is generated: `act`, the marking being
// examined, and `new`, the tokens while a transition fires. Both always have
// the same colour slots once the class check has set them.
#pragma once

#include "foundation/Str.h"
#include "netmodel/Textual.h"
#include "statedata/Multiset.h"

enum PlaceType : int { UnknownPlace = 0, ElementaryPlace = 1, ObjectPlace = 2 };

class PlaceHeader {
public:
    PlaceHeader() = default;
    explicit PlaceHeader(const char* name);
    explicit PlaceHeader(const Str& name);
    PlaceHeader(int no, const Str& name, Tms* tms);
    // Copies take their own initial multiset, so that every header can
    // release what it holds; the contents are not copied.
    PlaceHeader(const PlaceHeader& o);
    PlaceHeader& operator=(const PlaceHeader& o);
    ~PlaceHeader() { Clear(); }

    void Clear();

    void SetNo(int n) { no = n; }
    int GetNo() const { return no; }
    void SetPT(PlaceType t) { type = t; }
    PlaceType GetPT() const { return type; }
    const Textual& GetName() const { return name; }

    Tms*& GetTms() { return tms; }
    PTms*& GetActTms() { return act; }
    PTms*& GetNewTms() { return newTms; }
    const PTms* GetActTms() const { return act; }
    const PTms* GetNewTms() const { return newTms; }
    unsigned short GetTmsQuant() const { return tms ? tms->quant : 0; }
    unsigned short GetActTmsQuant() const { return act->quant; }
    unsigned short GetNewTmsQuant() const { return newTms->quant; }

    bool operator==(const PlaceHeader& o) const { return name == o.name; }
    bool operator!=(const PlaceHeader& o) const { return !(*this == o); }

    // The contents operations do nothing on a header without colour slots.
    void InitAct()
    {
        if (act) initptms(act);
    }
    void InitNew()
    {
        if (newTms) initptms(newTms);
    }
    void Init()
    {
        if (act) initptmsII(act, newTms);
    }
    void InitActTms(const MTms& m)
    {
        if (act) initptmsWmtms(act, m);
    }
    void InitNewTms(const MTms& m)
    {
        if (newTms) initptmsWmtms(newTms, m);
    }
    void InitPTms(const MTms& m)
    {
        if (act) initptmsWmtmsII(act, newTms, m);
    }
    void CpyActToNew()
    {
        if (act) initptmsWptms(newTms, act);
    }
    void SetPTms(const PTms* p);

    void FireIn(const Tms* t)
    {
        if (newTms) minus_tms(newTms, t);
    }
    void FireOut(const Tms* t)
    {
        if (newTms) plus_tms(newTms, t);
    }

    bool ActContentsOk(const Tms* need) const { return ContentsOk(act, need); }
    bool NewContentsOk(const Tms* need) const { return ContentsOk(newTms, need); }

    unsigned short FGetActQuant(const Tms* filter) const { return FGetQuant(act, filter); }
    unsigned short FGetNewQuant(const Tms* filter) const { return FGetQuant(newTms, filter); }
    Tms* FGetActTms(const Tms* filter) const { return FGetTms(act, filter); }
    Tms* FGetNewTms(const Tms* filter) const { return FGetTms(newTms, filter); }

private:
    static bool ContentsOk(const PTms* have, const Tms* need);
    unsigned short FGetQuant(const PTms* contents, const Tms* filter) const;
    Tms* FGetTms(const PTms* contents, const Tms* filter) const;

    int no = -1;
    Textual name;
    PlaceType type = UnknownPlace;
    Tms* tms = nullptr;
    PTms* act = nullptr;
    PTms* newTms = nullptr;
};
