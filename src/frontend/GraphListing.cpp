// mosk walks the graph depth first and prints each marking once with its
// state transitions: the marking's block, a frame line, then per state
// transition its delay value, type and transition number followed by the
// successor's block (printed again), a dashed line between two of them and
// a frame line after the last. A marking without state transitions has no
// frame lines.
#include "frontend/GraphListing.h"

#include <cstdlib>

namespace {

const std::string kFrame = "\t" + std::string(63, '-');
const std::string kRoot = "\\__ROOT__\\";

bool Starts(const std::string& line, const char* prefix)
{
    return line.rfind(prefix, 0) == 0;
}

// The text after the first " : " (or ": ") of a labelled line.
std::string ValueOf(const std::string& line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos) return "";
    std::size_t start = colon + 1;
    while (start < line.size() && line[start] == ' ') ++start;
    return line.substr(start);
}

long NumberOf(const std::string& line)
{
    return std::strtol(ValueOf(line).c_str(), nullptr, 10);
}

std::string WithoutRoot(const std::string& name)
{
    return Starts(name, kRoot.c_str()) ? name.substr(kRoot.size()) : name;
}

// "Place 3 : 2 token(s) = [0]:2"
bool ReadTokens(const std::string& line, ListedToken& token)
{
    char* end = nullptr;
    const long place = std::strtol(line.c_str() + 6, &end, 10);
    const std::size_t equals = line.find("= ");
    if (end == line.c_str() + 6 || place < 0 || equals == std::string::npos) return false;
    token.place = static_cast<std::size_t>(place);
    token.count = std::strtol(end + 2, nullptr, 10);
    token.colours = line.substr(equals + 2);
    return true;
}

}  // namespace

void GraphListingReader::Feed(const char* data, std::size_t size)
{
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] != '\n') {
            // Long lines (the spinner's) are not listing lines.
            if (partial.size() < 4096) partial.push_back(data[i]);
            continue;
        }
        Line(partial);
        partial.clear();
    }
}

void GraphListingReader::StoreMarking()
{
    if (!inMarking) return;
    inMarking = false;
    if (graph.markings.count(marking.key) != 0) return;
    if (graph.markings.size() >= limit) {
        ended = true;  // too large: keep nothing more
        return;
    }
    graph.markings[marking.key] = marking;
}

void GraphListingReader::GraphLine(const std::string& line)
{
    if (Starts(line, "Key/Number : ")) {
        StoreMarking();
        marking = ListedMarking{NumberOf(line), "", {}};
        inMarking = true;
        if (edgeOpen) {
            edge.to = marking.key;
            if (graph.edges.size() < limit * limit) graph.edges.push_back(edge);
            edgeOpen = false;
            expectEdges = false;
        } else {
            expectEdges = true;  // a marking of its own: its edges may follow
        }
    } else if (inMarking && Starts(line, "Type       : ")) {
        marking.type = ValueOf(line);
    } else if (inMarking && Starts(line, "Place ")) {
        ListedToken token;
        if (ReadTokens(line, token)) marking.tokens.push_back(token);
    } else if (line == kFrame) {
        StoreMarking();
        if (expectEdges) {
            source = marking.key;
            expectEdges = false;
        } else {
            source = 0;  // the end of a marking's state transitions
        }
    } else if (Starts(line, "Delay Value: ")) {
        StoreMarking();
        edge = ListedEdge{source, 0, 0, "", ValueOf(line)};
        edgeOpen = true;
    } else if (edgeOpen && Starts(line, "Delay Type : ")) {
        edge.delayType = ValueOf(line);
    } else if (edgeOpen && Starts(line, "Trans. No. : ")) {
        edge.transition = NumberOf(line);
    } else if (Starts(line, " = no tang. markings  : ")) {
        graph.tangibleMarkings = NumberOf(line);
    } else if (Starts(line, "stop  ->->->->->->->-> RRG")) {
        StoreMarking();
        graph.complete = !ended;
        ended = true;
    } else if (line.empty() || Starts(line, "\t- - -")) {
        StoreMarking();
    }
}

void GraphListingReader::Line(const std::string& line)
{
    if (Starts(line, "start ->->->->->->->-> ")) {
        const std::string section = line.substr(23);
        state = section == "PLACES"        ? State::Places
                : section == "TRANSITIONS" ? State::Transitions
                : section == "RRG"         ? State::Graph
                                           : State::Outside;
        graph.listed = graph.listed || state == State::Graph;
        return;
    }
    if (Starts(line, "stop  ->->->->->->->-> ") && state != State::Graph) {
        state = State::Outside;
        return;
    }
    switch (state) {
        case State::Places:
            if (Starts(line, "Name      : ")) {
                graph.places.push_back({WithoutRoot(ValueOf(line)), true});
            } else if (Starts(line, "Type      : ") && !graph.places.empty()) {
                graph.places.back().elementary = ValueOf(line) == "elementary";
            }
            break;
        case State::Transitions:
            if (Starts(line, "No.    : ")) transitionNumber = NumberOf(line);
            if (Starts(line, "Name   : "))
                graph.transitions[transitionNumber] = WithoutRoot(ValueOf(line));
            break;
        case State::Graph:
            if (!ended) GraphLine(line);
            if (Starts(line, " = no tang. markings  : ")) graph.tangibleMarkings = NumberOf(line);
            if (Starts(line, "stop  ->->->->->->->-> RRG")) state = State::Outside;
            break;
        case State::Outside:
            break;
    }
}

TangibleGraph GraphListingReader::Graph()
{
    if (!partial.empty()) Line(partial);
    partial.clear();
    return graph;
}
