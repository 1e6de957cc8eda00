// Recursive-descent reader of the distribution language, evaluating directly
// into the term algebra. Precedence, lowest first: + and -, *, unary minus,
// ^ (x^2*3 is (x^2)*3, -x^2 is -(x^2)).
#include "workers/DistributionParser.h"

#include <cctype>
#include <cstdlib>
#include <cstring>

#include "workers/DistributionTerms.h"

namespace {

constexpr int kMaxDepth = 100;
constexpr int kMaxPower = 100;
constexpr const char* kAllowed = " ()*+,-.0123456789IR[]^ex";

class Parser {
public:
    explicit Parser(const std::string& text) : text(text) {}

    bool Parse(TermSum& result, std::string& message)
    {
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\n' || c == '\r' || c == '\t') continue;
            if (c == '\0' || std::strchr(kAllowed, c) == nullptr) {
                message = "character '" + std::string(1, c) + "' at position " +
                          std::to_string(i + 1) + " is not part of the distribution language";
                return false;
            }
        }
        SkipBlanks();
        if (position == text.size()) return Fail("the distribution text is empty", message);
        if (!Sum(result) || !AtEnd()) return Fail(error, message);
        return true;
    }

    // "UNIFORM(a,b)" as the engine writes a uniform delay.
    bool Uniform(double& low, double& high)
    {
        return Literal("UNIFORM(") && Signed(low) && Literal(",") && Signed(high) && Literal(")") &&
               AtEnd();
    }

private:
    bool Fail(const std::string& what, std::string& message) const
    {
        message = what;
        return false;
    }

    bool Expected(const char* what)
    {
        if (error.empty()) {
            error = position < text.size()
                        ? "at position " + std::to_string(position + 1) + ": expected " + what +
                              ", found '" + text[position] + "'"
                        : std::string("the text ends where ") + what + " is expected";
        }
        return false;
    }

    void SkipBlanks()
    {
        while (position < text.size() && std::isspace(static_cast<unsigned char>(text[position])))
            ++position;
    }

    bool Peek(char c)
    {
        SkipBlanks();
        return position < text.size() && text[position] == c;
    }

    bool Accept(char c)
    {
        if (!Peek(c)) return false;
        ++position;
        return true;
    }

    bool Require(char c)
    {
        const char what[] = {'\'', c, '\'', '\0'};
        return Accept(c) || Expected(what);
    }

    bool Literal(const char* word)
    {
        SkipBlanks();
        const std::size_t n = std::strlen(word);
        if (text.compare(position, n, word) != 0) return Expected(word);
        position += n;
        return true;
    }

    bool AtEnd()
    {
        SkipBlanks();
        return position == text.size() || Expected("an operator or the end");
    }

    bool Fold(bool ok)
    {
        if (!ok && error.empty()) error = algebraError;
        return ok;
    }

    // digits [. digits] [e [+-] digits]; an 'e' not followed by a digit
    // (after an optional sign) belongs to an e^(...) that follows.
    bool Number(double& value)
    {
        SkipBlanks();
        const std::size_t start = position;
        auto digits = [&] {
            const std::size_t from = position;
            while (position < text.size() &&
                   std::isdigit(static_cast<unsigned char>(text[position])))
                ++position;
            return position > from;
        };
        bool any = digits();
        if (position < text.size() && text[position] == '.') {
            ++position;
            any = digits() || any;
        }
        if (!any) {
            position = start;
            return Expected("a number");
        }
        if (position < text.size() && text[position] == 'e') {
            std::size_t p = position + 1;
            if (p < text.size() && (text[p] == '+' || text[p] == '-')) ++p;
            if (p < text.size() && std::isdigit(static_cast<unsigned char>(text[p]))) {
                position = p;
                digits();
            }
        }
        value = std::strtod(text.substr(start, position - start).c_str(), nullptr);
        if (!std::isfinite(value)) {
            error = "the number at position " + std::to_string(start + 1) + " is too large";
            return false;
        }
        return true;
    }

    bool Signed(double& value)
    {
        const bool negative = Accept('-');
        if (!negative) Accept('+');
        if (!Number(value)) return false;
        if (negative) value = -value;
        return true;
    }

    bool Sum(TermSum& result)
    {
        if (!Product(result)) return false;
        for (;;) {
            double sign = 0.0;
            if (Accept('+'))
                sign = 1.0;
            else if (Accept('-'))
                sign = -1.0;
            else
                return true;
            TermSum next;
            if (!Product(next) || !Fold(AddTerms(result, next, sign, algebraError))) return false;
        }
    }

    bool Product(TermSum& result)
    {
        if (!Unary(result)) return false;
        while (Accept('*')) {
            TermSum next;
            if (!Unary(next) || !Fold(MultiplyTerms(result, next, result, algebraError)))
                return false;
        }
        return true;
    }

    bool Unary(TermSum& result)
    {
        if (++depth > kMaxDepth) {
            error = "the expression is nested too deeply";
            return false;
        }
        bool ok;
        if (Accept('-')) {
            TermSum operand;
            ok = Unary(operand);
            result.clear();
            ok = ok && Fold(AddTerms(result, operand, -1.0, algebraError));
        } else {
            Accept('+');
            ok = Power(result);
        }
        --depth;
        return ok;
    }

    bool Power(TermSum& result)
    {
        if (!Primary(result)) return false;
        if (!Accept('^')) return true;
        const std::size_t start = position;
        double exponent = 0.0;
        if (!Number(exponent)) return false;
        if (exponent != std::floor(exponent) || exponent > kMaxPower) {
            error = "at position " + std::to_string(start + 1) +
                    ": a power must be a whole number from 0 to " + std::to_string(kMaxPower);
            return false;
        }
        return Fold(PowerOfTerms(result, static_cast<int>(exponent), result, algebraError));
    }

    bool Primary(TermSum& result)
    {
        SkipBlanks();
        if (Accept('(')) return Sum(result) && Require(')');
        if (Accept('x')) {
            result = VariableTerm();
            return true;
        }
        if (Accept('e')) {
            if (!Require('^')) return false;
            TermSum argument;
            if (Accept('(')) {
                if (!Sum(argument) || !Require(')')) return false;
            } else if (Accept('x')) {
                argument = VariableTerm();
            } else {
                double value = 0.0;
                if (!Number(value)) return false;
                argument = ConstantTerm(value);
            }
            return Fold(ExponentialOfTerms(argument, result, algebraError));
        }
        if (Accept('R')) {
            double low = 0.0, high = 0.0;
            if (!Require('[') || !Signed(low) || !Require(',') || !Signed(high) || !Require(']'))
                return false;
            if (low > high) {
                error = "R[a,b] needs a <= b";
                return false;
            }
            result = IndicatorTerm(low, high);
            return true;
        }
        if (Accept('I')) {
            double at = 0.0;
            if (!Require('[') || !Signed(at) || !Require(']')) return false;
            result = PointTerm(at);
            return true;
        }
        double value = 0.0;
        if (!Number(value)) return false;
        result = ConstantTerm(value);
        return true;
    }

    const std::string& text;
    std::size_t position = 0;
    int depth = 0;
    std::string error;         // the first syntax error
    std::string algebraError;  // set by the term algebra
};

bool ParseUniform(const std::string& text, Distribution& distribution, std::string& error)
{
    Parser parser(text);
    double low = 0.0, high = 0.0;
    if (!parser.Uniform(low, high)) {
        error = "expected UNIFORM(a,b) with two numbers";
        return false;
    }
    if (low < 0.0 || high < low) {
        error = "UNIFORM(a,b) needs 0 <= a <= b";
        return false;
    }
    distribution = Distribution{};
    if (high == low)
        distribution.points.push_back({1.0, low});  // a uniform delay of width 0 is fixed
    else
        distribution.pieces.push_back({1.0 / (high - low), 0, 0.0, low, high});
    return true;
}

}  // namespace

bool ParseDistribution(const std::string& text, Distribution& distribution, std::string& error)
{
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    if (first != std::string::npos && text.compare(first, 7, "UNIFORM") == 0)
        return ParseUniform(text, distribution, error);
    Parser parser(text);
    TermSum terms;
    return parser.Parse(terms, error) && TermsToDistribution(terms, distribution, error);
}
