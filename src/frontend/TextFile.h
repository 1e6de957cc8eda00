// Writing the small text files mosk-solve hands to mosk and the renderers.
#pragma once

#include <string>

// Writes `text` to `path` (replacing it); false with `error` set on failure.
bool WriteTextFile(const std::string& path, const std::string& text, std::string& error);
