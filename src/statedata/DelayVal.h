// DelayVal: the number computed when a transition fires (weight, rate, delay
// or probability) with the transition number and a delay-type code. The value
// is never zero, negative or NaN once set through a constructor, assignment
// or SetDelayVal: such values become 1.0.
#pragma once

// Delay-type codes shared by delays, state transitions and markings.
enum DelayTypeCode : unsigned {
    kDelayUnknown = 0,
    kDelayImmediate = 1,
    kDelayExponential = 2,
    kDelayPreempting = 3,
    kDelayDeterministic = 4,
    kDelayGeneral = 5,
    kDelayProbability = 6,
    kDelayMixed = 7,
    kDelayAbsorbing = 8,
};

// The printed name of a delay-type code ("unknown" for anything out of range).
const char* DelayTypeName(int code);

class DelayVal {
public:
    DelayVal() : value(1.0), transNo(-1), type(0) {}
    DelayVal(double v, int t) : value(Sanitize(v)), transNo(-1), type(t & 0xF) {}
    DelayVal(double v, int t, short trans) : value(Sanitize(v)), transNo(trans), type(t & 0xF) {}
    DelayVal(const DelayVal& o) = default;
    DelayVal& operator=(const DelayVal& o)
    {
        value = Sanitize(o.value);
        transNo = o.transNo;
        type = o.type;
        return *this;
    }

    double GetDelayVal() const { return value; }
    void SetDelayVal(double v) { value = Sanitize(v); }
    short GetTransNo() const { return transNo; }
    void SetTransNo(short t) { transNo = t; }
    int GetDelayType() const { return static_cast<int>(type); }
    void SetDelayType(int t) { type = static_cast<unsigned>(t) & 0xF; }

    // Values and types are compared; transition numbers are not.
    bool operator==(const DelayVal& o) const { return value == o.value && type == o.type; }
    bool operator!=(const DelayVal& o) const { return !(*this == o); }
    void Clear() {}

    // The value a setter stores for v; also used by the packed graph edges.
    static double Sanitize(double v) { return v > 0.0 ? v : 1.0; }  // NaN fails v > 0.0

private:
    double value;
    short transNo;
    unsigned type : 4;
};
