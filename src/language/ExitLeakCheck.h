// The net the reader builds is held by process-wide registries until the
// process ends, which it does by exit() on every path. The registries are
// destroyed with the other globals and let go of the net then; a sanitizer
// build's leak check must look before that, or it would report the whole
// net.
#pragma once

// Registers (once) an exit handler that runs the leak check of a sanitizer
// build before the globals are destroyed; does nothing in other builds.
void CheckLeaksBeforeGlobalsGo();
