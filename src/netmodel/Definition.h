// Definition: a named expression: a constant or parameter of the net
// description, or a performance measure (rooted in a RatingCell).
#pragma once

#include "foundation/Str.h"
#include "netmodel/Cell.h"
#include "netmodel/Textual.h"

class Definition : public Textual {
public:
    // The result type of a definition without expression.
    static constexpr int kNoValue = 7;

    Definition() = default;
    Definition(const Str& name, const Cell* c)
        : Textual(kIdentifier, name), val(c ? c->Copy() : nullptr)
    {
    }
    Definition(const Definition& o) : Textual(o), val(o.val ? o.val->Copy() : nullptr) {}
    Definition& operator=(const Definition& o);
    ~Definition() { Clear(); }

    const Str& GetName() const { return GetString(); }
    const Textual& GetNameT() const { return *this; }
    Cell* GetVal() const { return val; }
    // A new value owned by the caller; null without expression.
    CellVal* Calculate() const { return val ? val->Calculate() : nullptr; }
    int GetResultType() const { return val ? val->GetResultType() : kNoValue; }
    // The text the expression evaluates to; "noname" without expression.
    Str GetValName() const;

    using Textual::operator==;
    using Textual::operator!=;
    bool operator==(const Definition& o) const { return GetString() == o.GetString(); }
    bool operator!=(const Definition& o) const { return !(*this == o); }
    void Clear();

private:
    Cell* val = nullptr;
};
