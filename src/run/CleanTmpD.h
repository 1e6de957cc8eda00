// Removal of the files that an earlier run of the same model left behind.
#pragma once

// Removes, with the shell, TmpD/<net>.pmf, .EMC*, .AUX, .CONV*, .PROBMARK
// and MODELDIR/<net>.RESULTS, and the same files of TmpD under the bare model
// name when the net name holds a directory. Missing files are no error;
// never fails.
void CleanTmpD();
