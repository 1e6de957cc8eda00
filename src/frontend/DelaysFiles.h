// The delays files that drive mosk's passes: pass n reads
// <dir>/<purename>.BSdelays<n>; a file holding "EXIT" ends the run.
#pragma once

#include <string>
#include <vector>

// One entry of a delays file: the mean delay of the exponential transition
// `transition` on the sub-page `subModel`.
struct DelayEntry {
    std::string subModel;
    std::string transition;
    double delay = 0.0;
};

// The text of one pass's delays file: the sub-models in the order of their
// first mention, each with its entries. Without entries it lists no
// sub-model.
std::string DelaysFileText(const std::vector<DelayEntry>& entries);

// The text that ends the passes.
std::string ExitFileText();

// <directory>/<purename>.BSdelays<pass>
std::string DelaysFilePath(const std::string& directory, const std::string& purename, int pass);

// Writes the files of all passes and the "EXIT" file after them. mosk polls
// for each file and removes it once read, so all can be written before it
// starts. Returns false with `error` set when a file cannot be written.
bool WriteDelaysFiles(const std::string& directory, const std::string& purename,
                      const std::vector<std::vector<DelayEntry>>& passes, std::string& error);
