// mosk's results file of one pass: one line "name value" per measure in the
// order of the description, then "*#END#*". Values stay text, exactly as
// mosk wrote them (16 significant digits).
#pragma once

#include <optional>
#include <string>
#include <vector>

struct Measure {
    std::string name;
    std::string value;
};

struct PassResults {
    std::vector<Measure> measures;
    bool complete = false;  // the end line was there
};

// Reads the text of a results file.
PassResults ParseResults(const std::string& text);

// Reads a results file; nothing when it cannot be read.
std::optional<PassResults> ReadResultsFile(const std::string& path);

// <modelDir>/<purename>.BSresults<pass>
std::string ResultsFilePath(const std::string& modelDir, const std::string& purename, int pass);

// The number of tangible markings from mosk's dimension file
// <modelDir>/<netname>.AUX ("TANGIBLE MARKINGS n"); nothing when absent.
std::optional<long> ReadTangibleMarkings(const std::string& auxPath);
