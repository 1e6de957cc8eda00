// The data file holds one block per line of the plot (gnuplot's "index"),
// rows in the order of the swept values; a value that failed or is not a
// number is "?", which gnuplot leaves out.
#include "frontend/SweepPlot.h"

#include <cmath>
#include <filesystem>
#include <map>
#include <sstream>

#include "frontend/JsonText.h"

namespace {

constexpr int kPanelWidth = 460;
constexpr int kPanelHeight = 330;

// A text in gnuplot's single quotes.
std::string Quoted(const std::string& text)
{
    std::string out = "'";
    for (char c : text) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string Terminal(PictureFormat format, int columns, int rows)
{
    std::ostringstream text;
    const int width = columns * kPanelWidth;
    const int height = rows * kPanelHeight;
    switch (format) {
        case PictureFormat::Png:
            text << "set terminal pngcairo size " << width << "," << height
                 << " noenhanced font 'Helvetica,10'";
            break;
        case PictureFormat::Pdf:
            text << "set terminal pdfcairo size " << width / 100.0 << "in," << height / 100.0
                 << "in noenhanced font 'Helvetica,9'";
            break;
        default:
            text << "set terminal svg size " << width << "," << height
                 << " noenhanced font 'Helvetica,11' background '#ffffff'";
    }
    return text.str();
}

bool IsNumber(const std::string& text)
{
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(value);
}

}  // namespace

bool SweepPlotFor(const SolveReport& report, const std::vector<std::string>& measures,
                  const std::string& output, PictureFormat format, const std::string& dataPath,
                  SweepPlotFiles& files, std::string& error)
{
    const std::vector<SweepSetting>& settings = report.settings;
    std::size_t x = settings.size();
    for (std::size_t i = 0; i < settings.size() && x == settings.size(); ++i)
        if (settings[i].values.size() > 1) x = i;
    if (x == settings.size()) {
        error = "--plot draws a sweep: give --set a setting with several values";
        return false;
    }
    // The measures' columns, by name, from the first row that has results.
    std::vector<std::string> names;
    for (const PassReport& pass : report.passes)
        if (pass.error.empty()) {
            for (const Measure& measure : pass.results.measures)
                names.push_back(DisplayName(measure.name));
            break;
        }
    std::vector<std::size_t> columns;
    for (const std::string& wanted : measures.empty() ? names : measures) {
        std::size_t found = names.size();
        for (std::size_t i = 0; i < names.size(); ++i)
            if (names[i] == wanted) found = i;
        if (found == names.size()) {
            error = "--plot-measures: the results have no measure " + wanted;
            return false;
        }
        columns.push_back(found);
    }
    if (columns.empty()) {
        error = "--plot: no value of the sweep has results to draw";
        return false;
    }

    // One line per combination of the other settings with several values.
    std::map<std::vector<std::size_t>, std::size_t> lineOf;
    std::vector<std::string> lineTitles;
    std::vector<std::ostringstream> blocks;
    for (std::size_t row = 0; row < report.passes.size(); ++row) {
        const std::vector<std::size_t> position = GridPosition(settings, row);
        std::vector<std::size_t> key;
        std::string title;
        for (std::size_t i = 0; i < settings.size(); ++i) {
            if (i == x || settings[i].values.size() < 2) continue;
            key.push_back(position[i]);
            title += (title.empty() ? "" : ", ") + settings[i].Label() + "=" +
                     settings[i].values[position[i]].text;
        }
        const auto [it, added] = lineOf.emplace(key, blocks.size());
        if (added) {
            blocks.emplace_back();
            lineTitles.push_back(title);
        }
        std::ostringstream& block = blocks[it->second];
        block << JsonDouble(settings[x].values[position[x]].number);
        const PassReport& pass = report.passes[row];
        for (std::size_t column : columns) {
            const bool has = pass.error.empty() && column < pass.results.measures.size() &&
                             IsNumber(pass.results.measures[column].value);
            block << " " << (has ? pass.results.measures[column].value : "?");
        }
        block << "\n";
    }
    files.data.clear();
    for (std::size_t i = 0; i < blocks.size(); ++i)
        files.data += (i == 0 ? "" : "\n\n") + blocks[i].str();

    const int panelColumns =
        static_cast<int>(std::ceil(std::sqrt(static_cast<double>(columns.size()))));
    const int panelRows = static_cast<int>((columns.size() + panelColumns - 1) / panelColumns);
    std::ostringstream script;
    script << Terminal(format, panelColumns, panelRows) << "\n"
           << "set output " << Quoted(output) << "\n"
           << "set datafile missing '?'\n"
           << "set grid\n"
           << "set xlabel " << Quoted(settings[x].Label()) << "\n"
           << (blocks.size() > 1 ? "set key outside right top\n" : "unset key\n")
           << "set multiplot layout " << panelRows << "," << panelColumns << " title "
           << Quoted(std::filesystem::path(report.description).filename().string()) << "\n";
    for (std::size_t panel = 0; panel < columns.size(); ++panel) {
        script << "set title " << Quoted(names[columns[panel]]) << "\n"
               << "set ylabel " << Quoted(names[columns[panel]]) << "\n"
               << "plot ";
        for (std::size_t line = 0; line < blocks.size(); ++line)
            script << (line == 0 ? "" : ", ") << Quoted(dataPath) << " index " << line
                   << " using 1:" << panel + 2 << " with linespoints pointtype 7 pointsize 0.6"
                   << " title " << Quoted(lineTitles[line]);
        script << "\n";
    }
    script << "unset multiplot\nset output\n";
    files.script = script.str();
    return true;
}
