// Multiset values: sum, difference, scaling by a number, the multiset
// orderings and the token count.
#include "netmodel/TokenMSVal.h"

#include <cmath>

#include "netmodel/FloatVal.h"

namespace {

constexpr long kMaxQuantity = 65535;

long CappedQuantity(double q)
{
    if (std::isnan(q)) return 0;
    return q > kMaxQuantity ? kMaxQuantity : static_cast<long>(q);
}

// The factor truncated toward zero; factors beyond the largest quantity act
// like it, since every product is capped there anyway. Not-a-number is 0.
long TruncatedFactor(double x)
{
    if (std::isnan(x)) return 0;
    if (x > kMaxQuantity) return kMaxQuantity;
    if (x < -1.0) return -1;
    return static_cast<long>(x);
}

}  // namespace

TokenMSVal& TokenMSVal::operator=(const TokenMSVal& o)
{
    if (this == &o) return *this;
    Tms* copy = copy_tms(o.tms);
    clear_tms(tms);
    tms = copy;
    return *this;
}

TokenMSVal* TokenMSVal::Adopt(Tms* t)
{
    auto* v = new TokenMSVal();
    v->tms = t;
    return v;
}

int TokenMSVal::GetResultType() const
{
    if (!tms || !tms->first || tms->first->token == 0) return ElementaryMultiset;
    return ProductMultiset;
}

CellVal& TokenMSVal::operator=(const CellVal& r)
{
    if (!r.IsTMS()) CellValError(190, "operator =", "tokenmultiset = ???");
    if (&r == this) return *this;
    Tms* copy = copy_tms(r.GetConstTms());
    clear_tms(tms);
    tms = copy;
    return *this;
}

template <class Relation>
CellVal* TokenMSVal::Compare(const CellVal& r, Relation holds) const
{
    if (!r.IsTMS()) return new FloatVal(false);
    return new FloatVal(holds(tms, r.GetConstTms()));
}

CellVal* TokenMSVal::operator==(const CellVal& r) const { return Compare(r, tms_eq); }
CellVal* TokenMSVal::operator!=(const CellVal& r) const
{
    return Compare(r, [](const Tms* a, const Tms* b) { return !tms_eq(a, b); });
}
CellVal* TokenMSVal::operator>=(const CellVal& r) const { return Compare(r, tms_ge); }
CellVal* TokenMSVal::operator<=(const CellVal& r) const { return Compare(r, tms_le); }
CellVal* TokenMSVal::operator>(const CellVal& r) const { return Compare(r, tms_gt); }
CellVal* TokenMSVal::operator<(const CellVal& r) const { return Compare(r, tms_lt); }

CellVal* TokenMSVal::operator+(const CellVal& r) const
{
    if (!r.IsTMS()) CellValError(201, "operator +", "tokenmultiset + ???");
    Tms* sum = copy_tms(tms);
    add_tms(sum, r.GetConstTms());
    return Adopt(sum);
}

CellVal* TokenMSVal::operator-(const CellVal& r) const
{
    if (!r.IsTMS()) CellValError(214, "operator -", "tokenmultiset - ???");
    Tms* difference = copy_tms(tms);
    sub_tms(difference, r.GetConstTms());
    return Adopt(difference);
}

template <class Scale>
CellVal* TokenMSVal::Scaled(Scale scale) const
{
    Tms* copy = copy_tms(tms);
    if (copy) {
        for (ltoken* e = copy->first; e; e = e->next) {
            long scaled = scale(static_cast<long>(e->quant));
            copy->quant = static_cast<unsigned short>(copy->quant + (scaled - e->quant));
            e->quant = static_cast<unsigned short>(scaled);
        }
    }
    return Adopt(copy);
}

CellVal* TokenMSVal::operator*(const CellVal& r) const
{
    if (r.IsTMS()) CellValError(227, "operator *", "tokenmultiset * tokenmultiset");
    long n = TruncatedFactor(r.GetFloat());
    if (n < 0) CellValError(232, "operator *", "tokenmultiset * -(double)");
    if (n == 0) return new TokenMSVal();
    return Scaled([n](long quant) { return quant * n > kMaxQuantity ? kMaxQuantity : quant * n; });
}

CellVal* TokenMSVal::operator/(const CellVal& r) const
{
    if (r.IsTMS()) CellValError(257, "operator /", "tokenmultiset / tokenmultiset");
    double d = r.GetFloat();
    if (d < 0.0) CellValError(263, "operator /", "tokenmultiset / -(double)");
    if (d == 0.0) CellValError(264, "operator /", "tokenmultiset / NULL");
    // Dividing by a number below 1 grows the quantities; they stop at the cap.
    return Scaled([d](long quant) { return CappedQuantity(static_cast<double>(quant) / d); });
}

CellVal* TokenMSVal::operator-() const
{
    CellValError(177, "unary op. -", "-(tokenmultiset)");
}

CellVal* TokenMSVal::operator&&(const CellVal& r) const
{
    if (!r.IsTMS()) return new FloatVal(false);
    return new FloatVal(tms != nullptr && r.GetConstTms() != nullptr);
}

CellVal* TokenMSVal::operator||(const CellVal& r) const
{
    if (!r.IsTMS()) return new FloatVal(false);
    return new FloatVal(tms != nullptr || r.GetConstTms() != nullptr);
}

CellVal* TokenMSVal::operator!() const { return new FloatVal(tms != nullptr); }

CellVal* TokenMSVal::Abs() const { return new FloatVal(tms ? static_cast<int>(tms->quant) : 0); }
