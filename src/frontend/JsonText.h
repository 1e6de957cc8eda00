// Small helpers for writing JSON by hand.
#pragma once

#include <optional>
#include <string>

// A JSON string literal with the necessary escapes.
std::string JsonString(const std::string& text);

// `text` when it is a JSON number ("0.5", "1e-05"), else the text as a JSON
// string (mosk writes "nan" or "inf" for undefined measures).
std::string JsonNumberText(const std::string& text);

// The shortest text that reads back as `value`; "null" when not finite.
std::string JsonDouble(double value);

std::string JsonOptional(const std::optional<double>& value);
