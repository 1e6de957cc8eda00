// TextVal: a text value (a transition name in a throughput measure, or the
// text of a definition). Only assignment and (in)equality are defined; every
// other operator ends the run.
#pragma once

#include "netmodel/CellVal.h"
#include "netmodel/Textual.h"

class TextVal : public CellVal {
public:
    TextVal() = default;
    explicit TextVal(const char* s) : text(s) {}
    explicit TextVal(const Str& s) : text(s) {}
    explicit TextVal(const Textual& t) : text(t) {}
    TextVal(const TextVal& o) : CellVal(o), text(o.text) {}
    TextVal& operator=(const TextVal& o)
    {
        text = o.text;
        return *this;
    }

    CellVal* Copy() const override { return new TextVal(*this); }
    bool IsTMS() const override;
    int GetResultType() const override { return Text; }
    Str GetString() const override { return text.GetString(); }

    CellVal& operator=(const CellVal& r) override;
    CellVal* operator==(const CellVal& r) const override;
    CellVal* operator!=(const CellVal& r) const override;
    CellVal* operator>=(const CellVal& r) const override;
    CellVal* operator<=(const CellVal& r) const override;
    CellVal* operator>(const CellVal& r) const override;
    CellVal* operator<(const CellVal& r) const override;
    CellVal* operator+(const CellVal& r) const override;
    CellVal* operator*(const CellVal& r) const override;
    CellVal* operator-(const CellVal& r) const override;
    CellVal* operator/(const CellVal& r) const override;
    CellVal* operator-() const override;
    CellVal* operator&&(const CellVal& r) const override;
    CellVal* operator||(const CellVal& r) const override;
    CellVal* operator!() const override;
    CellVal* Abs() const override;
    CellVal* Contents() const override;

private:
    Textual text;
};
