// Binding: one firing mode of a transition: a local condition, a weight for
// the choice among exclusive bindings, a delay, and its input and output
// arcs. Enabling is tested on the actual or the new contents of the places;
// firing removes the input multisets from the new contents and adds the
// output ones. The arc lists belong to the net: copies share them.
#pragma once

#include <memory>

#include "foundation/PtrList.h"
#include "netmodel/Arc.h"
#include "netmodel/Condition.h"
#include "netmodel/Delay.h"
#include "statedata/DelayVal.h"

class PendingMarking;
struct RepeatPlan;

// The most firings an infinite-server binding serves at once: token
// quantities are 16-bit, and a binding with output arcs only into an
// unbounded place would be enabled without end.
inline constexpr int kMaxEnablingDegree = 65535;

class Binding {
public:
    Binding() = default;
    Binding(const Condition& c, double w, const Delay* d, PtrList<Arc>* in, PtrList<Arc>* out)
        : localCond(c), weight(w), delay(d ? d->Copy() : nullptr), inArcs(in), outArcs(out)
    {
    }
    Binding(const Binding& o);
    Binding& operator=(const Binding& o);
    ~Binding() { Clear(); }

    void Clear();
    PtrList<Arc>* GetInArcs() const { return inArcs; }
    PtrList<Arc>* GetOutArcs() const { return outArcs; }
    Delay* GetDelay() const { return delay; }
    double GetWeight() const { return weight; }
    Condition& GetLocalCond() { return localCond; }
    int GetDelayType() const { return delay ? delay->GetDelayType() : 0; }

    void ClassChk() const;
    void EvalCellVars();

    // Enabling: the local condition, then the contents of the input places
    // and the capacities of the output places.
    bool IsActEnabled() const;
    bool IsNewEnabled() const;
    bool CheckActIn() const;
    bool CheckNewIn() const;
    bool CheckActOut() const;
    bool CheckNewOut() const;
    bool CheckNewOutAfterFire() const;
    bool CheckActInOut() const { return CheckActIn() && CheckInOut(); }
    bool CheckNewInOut() const { return CheckNewIn() && CheckInOut(); }
    bool CheckInOut() const;

    // Firing on the new contents. Each answers the delay's number (weight,
    // rate or delay), or 0.0 when a test failed.
    double Fire();
    double ChkAndFireExc(short unused);
    double ChkAndFireImm();
    // Fires again on top of what was already fired: counts how often an
    // infinite-server binding can fire at once.
    double VirtualFire();

    // How many more times VirtualFire would succeed, at most `most`, on the
    // new contents that one firing left; -1 when this cannot be told without
    // firing (see BindingRepeats.cpp).
    int FurtherFirings(int most) const;
    // After one firing on the new contents: that one and every further one
    // (at most 65535), for the rate of an infinite-server firing.
    int EnablingDegree();

    // Infinite-server firing: one successor, the rate multiplied by the
    // enabling degree. ChkAndFireInf leaves succ and dv untouched when the
    // binding is not enabled.
    void FireInf(const short* ata, int transNo, PendingMarking*& succ, DelayVal& dv);
    void ChkAndFireInf(const short* ata, int transNo, PendingMarking*& succ, DelayVal& dv);

    void CpyActToNew();

    // The delay value of a firing with number v; general delays carry no
    // number of their own.
    DelayVal Record(double v, int transNo) const;

    bool operator==(const Binding& o) const;
    bool operator!=(const Binding& o) const { return !(*this == o); }

    [[noreturn]] static void BindErr(int line, const char* function, const char* description);

private:
    bool HasIn() const { return inArcs && inArcs->count > 0; }
    bool HasOut() const { return outArcs && outArcs->count > 0; }
    void FireArcs();
    double Value() const { return delay ? delay->CalculateFloat() : 0.0; }
    double TestAndFire(bool onNew);

    Condition localCond;
    double weight = 1.0;
    Delay* delay = nullptr;
    PtrList<Arc>* inArcs = nullptr;
    PtrList<Arc>* outArcs = nullptr;
    // What FurtherFirings worked out from the arcs (BindingRepeats.cpp).
    mutable std::shared_ptr<const RepeatPlan> repeatPlan;
};
