// Output formats. Values are printed exactly as mosk wrote them.
#include "frontend/ReportWriter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "frontend/BuildVersion.h"
#include "frontend/JsonText.h"

namespace {

using Row = std::vector<std::string>;

// The first row that has measures: its measures are the columns of a sweep.
const PassReport* ColumnPass(const SolveReport& report)
{
    for (const PassReport& pass : report.passes)
        if (pass.error.empty()) return &pass;
    return nullptr;
}

const std::vector<Measure>& ColumnMeasures(const SolveReport& report)
{
    static const std::vector<Measure> none;
    const PassReport* pass = ColumnPass(report);
    return pass ? pass->results.measures : none;
}

bool AnyFailed(const SolveReport& report)
{
    for (const PassReport& pass : report.passes)
        if (!pass.error.empty()) return true;
    return false;
}

// The rows of the report: a header, then one row per measure (single run)
// or per combination of values (sweep), with an error column when a value
// failed.
std::vector<Row> ReportRows(const SolveReport& report)
{
    std::vector<Row> rows;
    if (report.passes.empty()) return rows;
    const std::vector<Measure>& columns = ColumnMeasures(report);
    if (report.settings.empty()) {
        rows.push_back({"measure", "value"});
        for (const Measure& measure : columns)
            rows.push_back({DisplayName(measure.name), measure.value});
        return rows;
    }
    const bool errorColumn = AnyFailed(report);
    Row header;
    for (const SweepSetting& setting : report.settings) header.push_back(setting.Label());
    for (const Measure& measure : columns) header.push_back(DisplayName(measure.name));
    if (errorColumn) header.push_back("error");
    rows.push_back(header);
    for (std::size_t pass = 0; pass < report.passes.size(); ++pass) {
        Row row;
        const std::vector<std::size_t> position = GridPosition(report.settings, pass);
        for (std::size_t i = 0; i < report.settings.size(); ++i)
            row.push_back(report.settings[i].values[position[i]].text);
        const PassReport& data = report.passes[pass];
        for (std::size_t i = 0; i < columns.size(); ++i)
            row.push_back(i < data.results.measures.size() ? data.results.measures[i].value : "");
        if (errorColumn) row.push_back(data.error);
        rows.push_back(row);
    }
    return rows;
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\n\r") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

void WriteJsonMeasures(std::ostringstream& out, const std::vector<Measure>& measures,
                       const std::string& indent)
{
    out << "{";
    for (std::size_t i = 0; i < measures.size(); ++i)
        out << (i == 0 ? "\n" : ",\n") << indent << "  "
            << JsonString(DisplayName(measures[i].name)) << ": "
            << JsonNumberText(measures[i].value);
    out << (measures.empty() ? "}" : "\n" + indent + "}");
}

// Each measure's estimated error, absolute and relative (null for a value
// of 0), keyed like the measures.
void WriteJsonMeasureErrors(std::ostringstream& out, const std::vector<MeasureErrorEstimate>& errors,
                            const std::string& indent)
{
    out << "{";
    for (std::size_t i = 0; i < errors.size(); ++i)
        out << (i == 0 ? "\n" : ",\n") << indent << "  " << JsonString(DisplayName(errors[i].name))
            << ": {\"absolute\": " << JsonDouble(errors[i].absolute)
            << ", \"relative\": " << JsonOptional(errors[i].relative) << "}";
    out << (errors.empty() ? "}" : "\n" + indent + "}");
}

// The worst of one figure over the passes that succeeded (what the whole run
// reached); none when one of them did not report it.
std::optional<double> Worst(const SolveReport& report, std::optional<double> PassSolution::*figure)
{
    std::optional<double> worst;
    for (const PassReport& pass : report.passes) {
        if (!pass.error.empty()) continue;
        const std::optional<double>& value = pass.solution.*figure;
        if (!value) return std::nullopt;
        if (std::isnan(*value)) return value;
        worst = std::max(worst.value_or(0.0), *value);
    }
    return worst;
}

std::string Scientific(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2g", value);
    return text;
}

// The table's last line: what the solver reached, when mosk said so.
std::string TableFooter(const SolveReport& report)
{
    const std::optional<double> residual = Worst(report, &PassSolution::accuracy);
    const std::optional<double> estimate = Worst(report, &PassSolution::errorEstimate);
    const std::optional<double> measures = Worst(report, &PassSolution::measuresEstimate);
    if (!residual && !estimate && !measures) return "";
    std::string footer = "\n";
    if (measures) footer += "estimated relative error of the measures " + Scientific(*measures) + ", ";
    if (estimate)
        footer += std::string(measures ? "of the probabilities " : "estimated relative error ") +
                  Scientific(*estimate) + ", ";
    if (residual) footer += "largest residual " + Scientific(*residual) + ", ";
    footer.resize(footer.size() - 2);
    if (report.passes.size() == 1) {
        const std::string method = MethodUsed(report.passes.front().solution);
        if (!method.empty()) footer += " (" + method + ")";
    }
    return footer + "\n";
}

void WriteJsonPass(std::ostringstream& out, const SolveReport& report, std::size_t pass)
{
    const PassReport& data = report.passes[pass];
    const std::vector<std::size_t> position = GridPosition(report.settings, pass);
    out << "    {\n      \"pass\": " << pass << ",\n      \"set\": {";
    for (std::size_t i = 0; i < report.settings.size(); ++i)
        out << (i == 0 ? "" : ", ") << JsonString(report.settings[i].Label()) << ": "
            << JsonDouble(report.settings[i].values[position[i]].number);
    out << "},\n      \"error\": " << (data.error.empty() ? "null" : JsonString(data.error));
    if (!data.error.empty()) out << ",\n      \"report\": " << JsonString(data.report);
    out << ",\n      \"tangible_markings\": "
        << (data.tangibleMarkings ? std::to_string(*data.tangibleMarkings) : "null")
        << ",\n      \"seconds\": " << JsonDouble(data.seconds) << ",\n      \"solver_mode\": \""
        << (data.iterative ? "iterative" : "automatic") << "\""
        << ",\n      \"accuracy\": " << JsonOptional(data.solution.accuracy)
        << ",\n      \"error_estimate\": " << JsonOptional(data.solution.errorEstimate)
        << ",\n      \"measures_error_estimate\": " << JsonOptional(data.solution.measuresEstimate)
        << ",\n      \"method\": " << JsonString(MethodUsed(data.solution))
        << ",\n      \"converged\": " << (data.solution.converged ? "true" : "false")
        << ",\n      \"iterations\": "
        << (data.solution.iterations ? std::to_string(*data.solution.iterations) : "null")
        << ",\n      \"measures\": ";
    WriteJsonMeasures(out, data.results.measures, "      ");
    out << ",\n      \"measure_errors\": ";
    WriteJsonMeasureErrors(out, data.solution.measureErrors, "      ");
    out << "\n    }";
}

}  // namespace

std::string DisplayName(const std::string& measureName)
{
    return !measureName.empty() && measureName.front() == '\\' ? measureName.substr(1)
                                                               : measureName;
}

std::string FormatTable(const SolveReport& report)
{
    const std::vector<Row> rows = ReportRows(report);
    std::vector<std::size_t> widths;
    for (const Row& row : rows)
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (widths.size() <= i) widths.push_back(0);
            widths[i] = std::max(widths[i], row[i].size());
        }
    std::ostringstream out;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - row[i].size() + 2, ' ');
        }
        out << line << "\n";
    }
    out << TableFooter(report);
    return out.str();
}

std::string FormatCsv(const SolveReport& report)
{
    std::ostringstream out;
    for (const Row& row : ReportRows(report)) {
        for (std::size_t i = 0; i < row.size(); ++i) out << (i == 0 ? "" : ",") << CsvField(row[i]);
        out << "\n";
    }
    return out.str();
}

std::string FormatJson(const SolveReport& report)
{
    std::ostringstream out;
    const std::string commit = BuildCommit();
    out << "{\n  \"version\": " << JsonString(BuildVersion())
        << ",\n  \"commit\": " << (commit.empty() ? "null" : JsonString(commit))
        << ",\n  \"model\": " << JsonString(report.description) << ",\n  \"tangible_markings\": "
        << (report.tangibleMarkings ? std::to_string(*report.tangibleMarkings) : "null")
        << ",\n  \"solver_mode\": \"" << (report.iterative ? "iterative" : "automatic")
        << "\",\n  \"accuracy\": " << JsonOptional(Worst(report, &PassSolution::accuracy))
        << ",\n  \"error_estimate\": " << JsonOptional(Worst(report, &PassSolution::errorEstimate))
        << ",\n  \"measures_error_estimate\": "
        << JsonOptional(Worst(report, &PassSolution::measuresEstimate))
        << ",\n  \"seconds\": " << JsonDouble(report.seconds) << ",\n  \"runs\": " << report.runs
        << ",\n  \"measures\": ";
    WriteJsonMeasures(out, ColumnMeasures(report), "  ");
    const PassReport* columns = ColumnPass(report);
    out << ",\n  \"measure_errors\": ";
    WriteJsonMeasureErrors(out, columns ? columns->solution.measureErrors
                                        : std::vector<MeasureErrorEstimate>{}, "  ");
    out << ",\n  \"passes\": [";
    for (std::size_t pass = 0; pass < report.passes.size(); ++pass) {
        out << (pass == 0 ? "\n" : ",\n");
        WriteJsonPass(out, report, pass);
    }
    out << (report.passes.empty() ? "]" : "\n  ]") << "\n}\n";
    return out.str();
}

std::string FormatReport(const SolveReport& report, OutputFormat format)
{
    switch (format) {
        case OutputFormat::Csv:
            return FormatCsv(report);
        case OutputFormat::Json:
            return FormatJson(report);
        case OutputFormat::Table:
            break;
    }
    return FormatTable(report);
}
