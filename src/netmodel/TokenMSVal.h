// TokenMSVal: a token multiset value (arc inscriptions, initial markings,
// the @ function). A null multiset is the empty one. Its result type is
// elementary for plain tokens (or empty), product for coloured ones.
#pragma once

#include "netmodel/CellVal.h"

class TokenMSVal : public CellVal {
public:
    TokenMSVal() = default;
    explicit TokenMSVal(const Tms* t) : tms(copy_tms(t)) {}
    TokenMSVal(const TokenMSVal& o) : CellVal(o), tms(copy_tms(o.tms)) {}
    TokenMSVal& operator=(const TokenMSVal& o);
    ~TokenMSVal() override { clear_tms(tms); }

    // A value that takes over `t` instead of copying it.
    static TokenMSVal* Adopt(Tms* t);

    void Clear() override { clear_tms(tms); }
    CellVal* Copy() const override { return new TokenMSVal(tms); }
    bool IsTMS() const override { return true; }
    int GetResultType() const override;
    const Tms* GetConstTms() const override { return tms; }
    Tms* GetTms() override { return tms; }

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
    CellVal* Contents() const override { return new TokenMSVal(tms); }

private:
    template <class Relation>
    CellVal* Compare(const CellVal& r, Relation holds) const;
    // A copy of the multiset with every quantity replaced by scale(quantity),
    // the total adjusted by the same differences.
    template <class Scale>
    CellVal* Scaled(Scale scale) const;

    Tms* tms = nullptr;
};
