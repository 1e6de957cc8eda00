// The markings reached by one walk of the chain formation, by their numbers.
// A walk stamp per number makes membership constant-time and starting a new
// walk free, however large the chain.
#pragma once

#include <vector>

class SMCVisited {
public:
    void NewWalk() { ++walk; }
    void AddMarkingToList(unsigned number)
    {
        if (number >= stamp.size()) stamp.resize(number + 1, 0);
        stamp[number] = walk;
    }
    bool MarkingIsInList(unsigned number) const
    {
        return number < stamp.size() && stamp[number] == walk;
    }

private:
    std::vector<unsigned> stamp;
    unsigned walk = 1;
};
