// The frames around the diagnostic listings: a line of 63 "-" with a start
// or stop line naming the section, and a dashed delimiter between records.
// The SUB forms print their indent before every line.
#pragma once

void START(const char* name);
void STOP(const char* name);
void SUBSTART(const char* name, const char* indent);
void SUBSTOP(const char* name, const char* indent);
void DELIMITER(const char* indent);

// The line of 63 "-" without its line end.
extern const char* const kFrameLine;
