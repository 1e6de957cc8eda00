// The names derived from the net name: its directory, the bare model name,
// and the per-pass results and delays files.
#pragma once

#include "foundation/Str.h"

// The text before the last "/" that stands at index 1 or later; the empty
// text when the only "/" is the first character or there is none.
// "/a/b/net" gives "/a/b", "dir/" gives "dir", "/net" and "net" give "".
Str TmpPfad(const Str& path);

// The text behind the last "/" of the net name (all of it without a "/"),
// then without the first ".net", then without the first occurrence of the
// sub name: "/x/m.BS.net" with "BS" gives "m.".
Str PureName(const Str& netName, const Str& subName);

// dir_name + "/" + purename + "." + subname + "results" + pass.
Str ResultsFileName(int pass);
// dir_name + "/" + purename + "." + subname + "delays" + pass.
Str DelaysFileName(int pass);
