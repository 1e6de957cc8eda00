// Names of a model inside the run directory. mosk derives the names of its
// results and delays files from the net name by a fixed rule, repeated here.
#pragma once

#include <string>

// The net name for a description file: its file name without ".table" (or
// ".TABLE"), with every character other than letters, digits, "_", "-" and
// "." replaced by "_" (mosk hands file names to the shell unquoted).
// A result that is empty or only dots becomes "model".
std::string NetBaseName(const std::string& descriptionPath);

// The name mosk puts in front of ".BSresults<n>" and ".BSdelays<n>": the net
// name without its first ".net" and then without its first "BS".
std::string PureName(const std::string& netBaseName);
