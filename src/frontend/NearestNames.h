// Names close to a misspelt one, for hints such as "did you mean `rate`?".
// Closeness is the number of single-letter edits (insert, delete, replace,
// swap two neighbours); a name may be off by one edit in three letters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

std::size_t EditDistance(std::string_view a, std::string_view b);

// Up to `most` of `candidates` close to `word`, closest first (ties in the
// order given); never `word` itself.
std::vector<std::string> NearestNames(const std::string& word,
                                      const std::vector<std::string>& candidates,
                                      std::size_t most = 3);

// "`a`", "`a` or `b`", "`a`, `b` or `c`".
std::string QuotedChoice(const std::vector<std::string>& names);
