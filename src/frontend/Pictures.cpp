// Each picture is drawn from files in a scratch directory of its own; the
// renderer writes the file the user named (made absolute first, since the
// renderer runs in the scratch directory).
#include "frontend/Pictures.h"

#include <filesystem>

#include "frontend/GraphDrawing.h"
#include "frontend/MeasureNames.h"
#include "frontend/SweepPlot.h"
#include "frontend/TextFile.h"

namespace {

std::string Absolute(const std::string& path)
{
    std::error_code ignored;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ignored);
    return absolute.empty() ? path : absolute.string();
}

bool Has(const std::vector<std::string>& names, const std::string& name)
{
    for (const std::string& candidate : names)
        if (candidate == name) return true;
    return false;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

bool CheckPlot(const SolveOptions& options, const std::string& description, std::string& error)
{
    bool swept = false;
    for (const SweepSetting& setting : options.settings) swept = swept || setting.values.size() > 1;
    if (!swept) {
        error = "--plot draws a sweep: give --set a setting with several values";
        return false;
    }
    if (FindProgram("gnuplot").empty()) {
        error = MissingRendererMessage("--plot", "gnuplot", "gnuplot-nox");
        return false;
    }
    const std::vector<DescriptionToken> tokens = TokenizeDescription(description);
    const std::vector<std::string> measures = MeasureNames(tokens, LayOutDescription(tokens));
    for (const std::string& wanted : options.plotMeasures)
        if (!measures.empty() && !Has(measures, wanted)) {
            error = "--plot-measures: " + options.description + " defines no measure " + wanted +
                    " (its measures: " + Joined(measures) + ")";
            return false;
        }
    return true;
}

}  // namespace

bool CheckPictureRequests(const SolveOptions& options, const SweepPlan& plan,
                          const std::string& description, std::string& error)
{
    if (!options.plotPath.empty() && !CheckPlot(options, description, error)) return false;
    if (options.graphPath.empty()) return true;
    if (plan.rows > 1) {
        error = "--graph draws the graph of one model; give --set single values only";
        return false;
    }
    if (options.graphFormat != PictureFormat::Dot && FindProgram("dot").empty()) {
        error = MissingRendererMessage("--graph", "dot (Graphviz)", "graphviz");
        return false;
    }
    return true;
}

bool DrawSweepPlot(const SolveOptions& options, const SolveReport& report, std::string& error)
{
    ScratchDirectory scratch;
    if (!scratch.Create(error)) return false;
    const std::string data = scratch.Path() + "/sweep.data";
    SweepPlotFiles files;
    if (!SweepPlotFor(report, options.plotMeasures, Absolute(options.plotPath), options.plotFormat,
                      data, files, error) ||
        !WriteTextFile(data, files.data, error) ||
        !WriteTextFile(scratch.Path() + "/plot.gnuplot", files.script, error))
        return false;
    return RunRenderer({FindProgram("gnuplot"), "plot.gnuplot"}, scratch.Path(), error);
}

bool DrawGraph(const SolveOptions& options, const TangibleGraph& graph,
               const std::vector<double>& probabilities, std::string& error)
{
    if (!graph.listed) {
        error = "mosk's output holds no graph listing (rerun with --verbose to see it)";
        return false;
    }
    if (!graph.complete) {
        error = "not drawing the graph: it has " + std::to_string(graph.tangibleMarkings) +
                " tangible markings, more than the " + std::to_string(kLargestDrawnGraph) +
                " that --graph draws";
        return false;
    }
    const std::string title = std::filesystem::path(options.description).filename().string() +
                              ": tangible reachability graph";
    const std::string dot = GraphDot(graph, probabilities, title);
    if (options.graphFormat == PictureFormat::Dot)
        return WriteTextFile(options.graphPath, dot, error);
    ScratchDirectory scratch;
    if (!scratch.Create(error) || !WriteTextFile(scratch.Path() + "/graph.dot", dot, error))
        return false;
    return RunRenderer({FindProgram("dot"), std::string("-T") + FormatName(options.graphFormat),
                        "graph.dot", "-o", Absolute(options.graphPath)},
                       scratch.Path(), error);
}
