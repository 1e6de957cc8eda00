// The tangible reachability graph as mosk lists it: the place and
// transition names of its class listing (-C) and the markings and state
// transitions of its graph listing (-r), read line by line as the output
// arrives. Beyond `limit` markings nothing more is kept; the count goes on.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

struct ListedToken {
    std::size_t place = 0;  // 0-based, in the order of the places
    std::string colours;    // mosk's notation, "[0]:2" or "[0]:1 [1]:2"
    long count = 0;         // all tokens of the place
};

struct ListedMarking {
    long key = 0;      // the state number
    std::string type;  // "exponential", "deterministic", "general", ...
    std::vector<ListedToken> tokens;
};

struct ListedEdge {
    long from = 0;
    long to = 0;
    long transition = 0;  // the transition's number
    std::string delayType;
    std::string value;  // as listed: a rate, a delay or a probability
};

struct ListedPlace {
    std::string name;  // without "\__ROOT__\"
    bool elementary = true;
};

struct TangibleGraph {
    std::vector<ListedPlace> places;
    std::map<long, std::string> transitions;  // number -> name
    std::map<long, ListedMarking> markings;
    std::vector<ListedEdge> edges;
    long tangibleMarkings = 0;  // from the listing's statistics
    bool listed = false;        // the listing began
    bool complete = false;      // the listing ended within the limit
};

class GraphListingReader {
public:
    explicit GraphListingReader(std::size_t limit) : limit(limit) {}

    // Feeds raw output; lines are taken as they complete.
    void Feed(const char* data, std::size_t size);
    // The graph, once the output has ended.
    TangibleGraph Graph();

private:
    enum class State { Outside, Places, Transitions, Graph };
    void Line(const std::string& line);
    void GraphLine(const std::string& line);
    void StoreMarking();

    std::size_t limit;
    State state = State::Outside;
    std::string partial;
    TangibleGraph graph;
    long transitionNumber = 0;
    ListedMarking marking;  // being read
    bool inMarking = false;
    bool expectEdges = false;  // the marking just read has its state transitions next
    long source = 0;           // the marking whose state transitions are being read
    ListedEdge edge;
    bool edgeOpen = false;
    bool ended = false;
};
