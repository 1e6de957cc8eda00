// Writing the DOT text. Every node also carries its state number and its
// probability with 17 digits as attributes of its own, so a program can
// read the drawing's numbers back exactly.
#include "frontend/GraphDrawing.h"

#include <cstdio>
#include <sstream>

namespace {

std::string DotText(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out + "\"";
}

std::string Digits(double value, int digits)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
}

const char* Shape(const std::string& type)
{
    if (type == "exponential") return "shape=ellipse, fillcolor=\"#ffffff\"";
    if (type == "deterministic") return "shape=box, fillcolor=\"#d6e6f5\"";
    if (type == "general") return "shape=hexagon, fillcolor=\"#f9e3c8\"";
    return "shape=diamond, fillcolor=\"#eeeeee\"";
}

std::string EdgeLabel(const TangibleGraph& graph, const ListedEdge& edge)
{
    // A state transition that no transition fires (mosk's branching after a
    // deterministic firing) has no name to show.
    const auto name = graph.transitions.find(edge.transition);
    const std::string label = name != graph.transitions.end() ? name->second + "\n" : "";
    if (edge.delayType == "exponential") return label + "rate " + edge.value;
    if (edge.delayType == "deterministic") return label + "delay " + edge.value;
    if (edge.delayType == "general") return label + "general";
    return label + edge.delayType + " " + edge.value;
}

}  // namespace

std::string MarkingLabel(const TangibleGraph& graph, const ListedMarking& marking)
{
    std::string label;
    for (const ListedToken& token : marking.tokens) {
        if (token.count == 0) continue;
        const bool known = token.place < graph.places.size();
        const std::string place =
            known ? graph.places[token.place].name : "place " + std::to_string(token.place);
        if (!label.empty()) label += "  ";
        if (known && graph.places[token.place].elementary)
            label += place + "=" + std::to_string(token.count);
        else
            label += place + ": " + token.colours;
    }
    return label.empty() ? "empty" : label;
}

std::string GraphDot(const TangibleGraph& graph, const std::vector<double>& probabilities,
                     const std::string& title)
{
    std::ostringstream dot;
    dot << "digraph tangible_reachability_graph {\n"
        << "  graph [label=" << DotText(title) << ", labelloc=t, fontname=\"Helvetica\"];\n"
        << "  node [fontname=\"Helvetica\", fontsize=11, style=filled];\n"
        << "  edge [fontname=\"Helvetica\", fontsize=9];\n";
    for (const auto& [key, marking] : graph.markings) {
        const std::size_t index = static_cast<std::size_t>(key - 1);
        const bool known = key >= 1 && index < probabilities.size();
        std::string label = MarkingLabel(graph, marking);
        if (known) label += "\np=" + Digits(probabilities[index], 4);
        dot << "  m" << key << " [label=" << DotText(label) << ", " << Shape(marking.type)
            << ", state=" << key << ", type=" << DotText(marking.type);
        if (known) dot << ", probability=\"" << Digits(probabilities[index], 17) << "\"";
        dot << "];\n";
    }
    for (const ListedEdge& edge : graph.edges)
        dot << "  m" << edge.from << " -> m" << edge.to
            << " [label=" << DotText(EdgeLabel(graph, edge)) << "];\n";
    dot << "}\n";
    return dot.str();
}
