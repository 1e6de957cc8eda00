// The class listing: the definitions, pages, places, transitions (with
// their bindings and arcs) and the transition dependencies of the parsed
// net, each section framed.
#pragma once

void ShowClasses();
