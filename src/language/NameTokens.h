// The scanner's handling of names: how a name is read depends on the
// section (a new definition, a parameter of the master page, a page name,
// a measure's text, or a name on the current page).
#pragma once

// The lone backslash: the root page, allowed as a page name only.
int LoneBackslash();
// A name that starts with a backslash, read from the root.
int AbsoluteName(const char* text);
// A name of letters, digits and underscores.
int PlainName(const char* text);
// A name with a further component after a quote or backslash.
int RelativeName(const char* text);
