// Edges: their targets by id and their labels.
#include "statedata/Stt.h"

#include "statedata/Marking.h"
#include "statedata/MarkingIds.h"

stt::stt(const DelayVal& d, Marking* t)
    : stt(d, t ? t->Id() : kNoTarget)
{
}

Marking* stt::Target() const
{
    return target == kNoTarget ? nullptr : MarkingIds::Find(target);
}

void stt::SetTarget(Marking* t)
{
    target = t ? t->Id() : kNoTarget;
}

void stt::SetDelayVal(double v)
{
    DelayVal d = Label();
    d.SetDelayVal(v);
    SetDelay(d);
}

void stt::SetTransNo(short t)
{
    DelayVal d = Label();
    d.SetTransNo(t);
    SetDelay(d);
}

void stt::SetDelayType(int t)
{
    DelayVal d = Label();
    d.SetDelayType(t);
    SetDelay(d);
}
