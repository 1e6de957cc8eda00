// The delays files that drive mosk's passes: pass n reads
// <dir>/<purename>.BSdelays<n>; a file holding "EXIT" ends the run.
#pragma once

#include <string>
#include <vector>

#include "frontend/SweepSetting.h"

// The text of the delays file of pass `pass`: the sub-models named by the
// settings (in the order of their first mention), each with its entries.
// Without settings it lists no sub-model.
std::string DelaysFileText(const std::vector<SweepSetting>& settings, int pass);

// The text that ends the passes.
std::string ExitFileText();

// <directory>/<purename>.BSdelays<pass>
std::string DelaysFilePath(const std::string& directory, const std::string& purename, int pass);

// Writes the files of passes 0 to passes - 1 and the "EXIT" file after them.
// mosk polls for each file and removes it once read, so all can be written
// before it starts. Returns false with `error` set when a file cannot be
// written.
bool WriteDelaysFiles(const std::string& directory, const std::string& purename,
                      const std::vector<SweepSetting>& settings, int passes, std::string& error);
