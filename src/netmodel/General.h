// General: a generally distributed delay, kept as the distribution text of
// the net description and handed to the general-delay workers through the
// PMF file. Its text is never null, which tells it apart from UniForm.
#pragma once

#include "foundation/Str.h"
#include "netmodel/Delay.h"
#include "statedata/DelayVal.h"

class General : public Delay {
public:
    General() : text("") {}
    explicit General(const Str& t) : text(t.IsNull() ? Str("") : t) {}
    explicit General(const Delay& d)
        : General(Str(d.GetDelayType() == kDelayGeneral ? d.GetGeneral() : ""))
    {
    }
    General(const General& o) : Delay(o), text(o.text) {}
    General& operator=(const General& o)
    {
        *this = static_cast<const Delay*>(&o);
        return *this;
    }

    // The numbers of a general delay are placeholders: the workers use the
    // distribution itself.
    CellVal* Calculate() override;
    double CalculateFloat() override { return 1.0; }
    Cell* GetCell() const override { return nullptr; }
    int GetDelayType() const override { return kDelayGeneral; }
    bool IsPlaceDependent() override { return false; }
    Delay* Copy() const override { return new General(text); }
    void Clear() override {}
    Delay& operator=(const Delay* d) override;
    Delay& operator=(const Delay& d) override { return *this = &d; }
    bool operator==(const Delay& d) const override
    {
        return d.GetDelayType() == kDelayGeneral && text == d.GetGeneral();
    }
    const char* GetGeneral() const override { return text.GetCChar(); }
    void PrintPMF(FILE* f) override;

private:
    Str text;
};
