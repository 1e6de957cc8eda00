// The PMF file: the delay distributions of the transitions with general
// delays, written once after parsing for the general-delay workers, as
// <TmpD>/<model name>.pmf, beside the chain files.
#pragma once

void WritePMFFile();
