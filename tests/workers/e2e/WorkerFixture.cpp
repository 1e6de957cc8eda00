// Checks shared by the end-to-end tests.
#include "e2e/WorkerFixture.h"

#include <cmath>
#include <cstdio>

std::string WorkerFixture::ChainFile(const char* kind, int classNumber) const
{
    char number[8];
    std::snprintf(number, sizeof number, "%02d", classNumber);
    return ModelPath() + kind + number;
}

namespace {

// Under the sanitizers a worker's own faults show on its standard error.
void ExpectNoSanitizerReport(const WorkerResult& result)
{
    EXPECT_EQ(result.errors.find("Sanitizer"), std::string::npos) << result.errors;
    EXPECT_EQ(result.errors.find("runtime error:"), std::string::npos) << result.errors;
}

}  // namespace

void WorkerFixture::ExpectSuccess(const WorkerResult& result) const
{
    ExpectNoSanitizerReport(result);
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_TRUE(result.connected);
    EXPECT_EQ(result.output, "");
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(result.lines.back(), "ready.");
    for (const std::string& line : result.lines) EXPECT_LE(line.size(), 199u);
}

void WorkerFixture::ExpectFailure(const WorkerResult& result, int classNumber,
                                  const std::string& reason) const
{
    ExpectNoSanitizerReport(result);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.output, "");
    EXPECT_FALSE(FileExists(ChainFile(".EMC", classNumber)));
    EXPECT_FALSE(FileExists(ChainFile(".CONV", classNumber)));
    for (const std::string& line : result.lines) EXPECT_NE(line.substr(0, 6), "ready.");
    if (result.connected) {
        ASSERT_EQ(result.lines.size(), 1u);
        EXPECT_NE(result.lines[0].find("error: "), std::string::npos) << result.lines[0];
    }
    EXPECT_NE(result.errors.find(reason), std::string::npos)
        << "standard error: " << result.errors << "expected: " << reason;
}

void WorkerFixture::ExpectRows(const char* kind, int classNumber, const ChainRows& expected,
                               double tolerance) const
{
    ChainRows got;
    ASSERT_TRUE(ReadChainFile(ChainFile(kind, classNumber), got)) << kind << " missing";
    ASSERT_EQ(got.size(), expected.size()) << kind;
    for (const auto& [row, columns] : expected) {
        ASSERT_TRUE(got.count(row)) << kind << " row " << row;
        const auto& gotColumns = got.at(row);
        for (const auto& [column, value] : columns) {
            const double found = gotColumns.count(column) ? gotColumns.at(column) : 0.0;
            EXPECT_NEAR(found, value, tolerance * std::max(1.0, std::fabs(value)))
                << kind << " row " << row << " column " << column;
        }
        for (const auto& [column, value] : gotColumns) {
            if (!columns.count(column)) {
                EXPECT_LT(std::fabs(value), tolerance)
                    << kind << " row " << row << " column " << column;
            }
        }
    }
}
