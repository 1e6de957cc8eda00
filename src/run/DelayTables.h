// The delay tables of the re-evaluation passes: per sub-model the mean
// delays of the transitions that stand for the other sub-models. The first
// delays file of a run fixes their structure; later files only change the
// delays.
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "run/DelaysFileWords.h"

#include <vector>

struct DelayEntry {
    int transNo = -1;  // the matching exclusive transition; -1 until found
    Str name;          // as written in the file
    unsigned number = 0;  // read and not used
    double delay = 0.0;   // mean delay
};

extern unsigned nb_subtrans;
extern PtrList<Str> subnames;
extern int mynumber;  // own position in subnames; -1 for the basic skeleton
extern std::vector<unsigned> nb_transarray;
extern std::vector<std::vector<DelayEntry>> transitionsarrays;

// The transition number of the exclusive transition with the given full
// name, or -1.
using TransitionLookup = int (*)(const Str& fullName);

// Builds the tables from the first delays file. False, with a message, when
// an entry names no exclusive transition or the file ends inside its
// structure; the tables then stay incomplete.
bool LoadDelayTables(DelaysFileWords& words, TransitionLookup find);

// Reads the delays of a later file in the structure of the first one. False
// when the file holds "EXIT" instead; a word that is missing leaves its
// delay as it was.
bool UpdateDelayTables(DelaysFileWords& words);
