// The distribution language: what the examples mean (mass and mean by hand),
// which texts are rejected and why, and how a transition's text is found in
// the PMF file.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>

#include "workers/DistributionCheck.h"
#include "workers/DistributionParser.h"
#include "workers/PmfFile.h"

namespace {

struct Example {
    const char* text;
    double mass;  // before normalisation
    double mean;
};

TEST(Distribution, ExamplesHaveTheirMassAndMean)
{
    const double e = std::exp(1.0);
    const Example examples[] = {
        {"R[0,2]*0.5", 1.0, 1.0},
        {"x*e^(-x)", 1.0, 2.0},
        {"0.3*I[1]+0.7*I[2]", 1.0, 1.7},
        {"R[1,3]*0.25*x", 1.0, 26.0 / 12.0},
        {"UNIFORM(2.000000,5.000000)", 1.0, 3.5},
        {"UNIFORM(1.5,1.5)", 1.0, 1.5},
        {"2*e^(-x)-2*e^(-2*x)", 1.0, 1.5},  // Exp(1) plus Exp(2)
        {"0.5 * x^2 * e^(-x)", 1.0, 3.0},   // Erlang-3
        {"0.5*\n  R[0,1]\n+ 0.5*I[0.5]", 1.0, 0.5},
        {"R[0,1]*0.5819767068693265*e^(x)", 1.0, 1.0 / (e - 1.0)},
        {"e^(-x+0.6931471805599453)*R[0.6931471805599453,1e3]", 1.0, 1.0 + std::log(2.0)},
        {"(x-1)^2*R[0,2]*1.5", 1.0, 1.0},
        {"0.9*e^(-x)+0.1*I[0]", 1.0, 0.9},
        {"R[-1,1]*x*2", 1.0, 2.0 / 3.0},  // nothing before time 0
    };
    for (const Example& ex : examples) {
        Distribution d;
        std::string error;
        ASSERT_TRUE(ParseDistribution(ex.text, d, error)) << ex.text << ": " << error;
        EXPECT_NEAR(TotalMass(d), ex.mass, 1e-12) << ex.text;
        ASSERT_TRUE(CheckDistribution(d, error)) << ex.text << ": " << error;
        EXPECT_NEAR(TotalMass(d), 1.0, 1e-15) << ex.text;
        EXPECT_NEAR(Mean(d), ex.mean, 1e-11) << ex.text;
    }
}

TEST(Distribution, MassWithinToleranceIsNormalised)
{
    Distribution d;
    std::string error;
    ASSERT_TRUE(LoadDistribution("R[0,2]*0.5000002", d, error)) << error;
    EXPECT_DOUBLE_EQ(TotalMass(d), 1.0);
    EXPECT_FALSE(LoadDistribution("R[0,2]*0.500002", d, error));
}

struct Rejection {
    const char* text;
    const char* reason;  // part of the message
};

TEST(Distribution, InvalidTextsAreRejectedWithAReason)
{
    const Rejection rejections[] = {
        {"", "empty"},
        {"R[0,2]", "total mass is 2"},
        {"R[0,2]*(x-0.5)", "negative at x = "},
        {"2*e^(-x)-3*e^(-2*x)", "negative at x = "},
        {"3*e^(-x)-4*e^(-2*x)+2*e^(-3*x)-0.5*e^(-0.5*x)", "negative"},
        {"1.5*I[1]-0.5*I[2]", "point mass at 2 is negative"},
        {"I[-1]", "before time 0"},
        {"x", "does not vanish"},
        {"x*e^(x)", "does not vanish"},
        {"e^(-x)-e^(-x)", "zero everywhere"},
        {"e^(x*x)", "form c*x+d"},
        {"e^(R[0,1])", "form c*x+d"},
        {"I[1]*I[2]", "two point masses"},
        {"x^2.5", "whole number"},
        {"x^101", "whole number"},
        {"abc", "character 'a'"},
        {"0.5;R[0,2]", "character ';'"},
        {"x**2", "position 3: expected a number"},
        {"R[0,2", "where ']' is expected"},
        {"R[2,0]", "a <= b"},
        {"e^(-x)*", "the text ends"},
        {"2e^(-x)", "expected an operator"},
        {"UNIFORM(3,1)", "0 <= a <= b"},
        {"UNIFORM(1,2", "UNIFORM(a,b)"},
        {"R[0,1]*e^(500*x)", "grows beyond"},
        {"e^(800)", "too large"},
        {"(x+e^(-x)+R[0,1]+R[0,3])^60", "more than 2000 terms"},
    };
    for (const Rejection& r : rejections) {
        Distribution d;
        std::string error;
        EXPECT_FALSE(LoadDistribution(r.text, d, error)) << r.text;
        EXPECT_NE(error.find(r.reason), std::string::npos)
            << r.text << " gave: " << error << " (expected " << r.reason << ")";
    }
}

TEST(Distribution, DeepNestingIsRejectedNotOverflowed)
{
    const std::string text = std::string(5000, '(') + "x" + std::string(5000, ')');
    Distribution d;
    std::string error;
    EXPECT_FALSE(LoadDistribution(text, d, error));
    EXPECT_NE(error.find("nested too deeply"), std::string::npos) << error;
}

class PmfFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = ::testing::TempDir() + "workers_pmf_test.pmf";
        std::ofstream file(path);
        file << "TRANSITION \\__ROOT__\\T1\nUNIFORM(2.000000,5.000000);\n\n"
             << "TRANSITION T2\n0.3*I[1]\n+0.7*I[2];\n\n"
             << "TRANSITION T3\n;\n\n";
    }
    void TearDown() override { std::remove(path.c_str()); }
    std::string path;
};

TEST_F(PmfFileTest, FindsTheBlockOfEachTransition)
{
    std::string text, error;
    ASSERT_TRUE(FindPmfText(path, "T2", text, error)) << error;
    EXPECT_EQ(text, "0.3*I[1]\n+0.7*I[2]");
    ASSERT_TRUE(FindPmfText(path, "\\__ROOT__\\T1", text, error)) << error;
    EXPECT_EQ(text, "UNIFORM(2.000000,5.000000)");
    ASSERT_TRUE(FindPmfText(path, "T3", text, error)) << error;
    Distribution d;
    EXPECT_FALSE(LoadDistribution(text, d, error));
}

// A missing block or file: the failures of ekiln (end-to-end tests).

}  // namespace
