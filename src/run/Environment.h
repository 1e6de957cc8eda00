// The environment of a run: HOME, PLENARHOME and MODELDIR, the directories
// and names derived from them and from the net name, and their checks.
#pragma once

// Reads the three variables, derives PLENARRC, ScrD, BinD, TmpD, TmpDir,
// dir_name and purename, and checks that the per-user file is readable and
// the directories can be opened. Any failure prints its message and ends
// the run with the run-control status.
void CheckEnviron();
