// Transition: a named transition with a server type, a global condition and
// its bindings (firing modes), numbered net-wide and within its class. The
// firing entry points of the graph generation live here: exclusive firing of
// the active binding, immediate firing of every enabled binding, and the
// activation of exclusive bindings by weight.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "netmodel/Binding.h"
#include "netmodel/Condition.h"
#include "netmodel/Textual.h"
#include "statedata/DelayVal.h"
#include "statedata/Multiset.h"

class NPMarking;

enum ServerType : int { ExclusiveServer = 0, InfiniteServer = 1 };

class Transition : public Textual {
public:
    Transition() = default;
    explicit Transition(const Str& name) : Textual(kText, name) {}
    // Takes over b: it becomes the binding list when it holds a binding, and
    // is deleted when it is empty.
    Transition(const Str& name, ServerType st, const Condition& c, PtrList<Binding>* b);
    // Copies share the binding list and are not yet placed in a class.
    Transition(const Transition& t);
    Transition& operator=(const Transition& t);

    short GetNo() const { return no; }
    void SetNo(short n) { no = n; }
    short GetExcNo() const { return excNo; }
    void SetExcNo(short n) { excNo = n; }
    unsigned short GetFieldPos() const { return fieldPos; }
    void SetFieldPos(unsigned short p) { fieldPos = p; }
    const Str& GetName() const { return GetString(); }
    PtrList<Binding>* GetBindings() const { return bindings; }
    ServerType GetServerType() const { return serverType; }
    Condition& GetGlobalCond() { return globalCond; }

    // Only the global condition; the bindings are tested on their own.
    bool IsActEnabled() const { return globalCond.ActCondTrue(); }
    bool IsNewEnabled() const { return globalCond.NewCondTrue(); }

    void ClassChk() const;
    void EvalCellVars();

    // Fires the binding that `ata` marks active for this transition on the
    // new contents; `value` is the firing's number, 0 when the firing is not
    // possible. Answers the fired binding, whose new contents stay as the
    // firing left them until the caller resets them (Binding::CpyActToNew);
    // null when there was nothing to fire.
    Binding* FireActive(const short* ata, double& value);
    // Tries every binding on the actual contents; each that fires appends a
    // vanishing successor with its weight to `list`, adds the weight to
    // `sum` and is recorded for immediate transition i in RefTNos.
    bool ChkAndFireImm(PtrList<NPMarking>*& list, double& sum, unsigned short i);
    // The same without tests, for the bindings RefTNos recorded for i.
    bool FireImm(PtrList<NPMarking>*& list, double& sum, unsigned short i);
    // Adds to `em` one activation branch per enabled binding, with the
    // binding's share of the total weight as probability.
    bool ChkAndActExc(exc_marks& em);

    using Textual::operator==;
    using Textual::operator!=;
    bool operator==(const Transition& o) const { return GetString() == o.GetString(); }
    bool operator!=(const Transition& o) const { return !(*this == o); }
    void Clear();

    [[noreturn]] void TransError(int line, const char* function, const char* description) const;

private:
    void CheckServer(int line, const char* function) const;

    short no = -1;
    short excNo = -1;
    unsigned short fieldPos = 0;
    ServerType serverType = ExclusiveServer;
    Condition globalCond;
    PtrList<Binding>* bindings = nullptr;
};
