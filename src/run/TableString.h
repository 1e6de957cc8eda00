// The net description as one text in memory, ended by the byte 0xFF that
// the lexer takes as the end of its input.
#pragma once

#include <string>

// Takes the text given with -T, or else loads "<base>.table" or, failing
// that, "<base>.TABLE" (base: the net name if it is absolute, else MODELDIR
// + "/" + net name). An absolute net name is shortened to its last
// component. Sets TableString and table_string; ends the run when no
// description file can be read.
void GetTableString();

// Stores the text up to its first 0xFF byte, then 0xFF and a zero byte, in
// TableString, and points table_string at it.
void StoreTableString(const std::string& text);
