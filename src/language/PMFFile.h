// The PMF file: the delay distributions of the transitions with general
// delays, written once after parsing for the general-delay workers, as
// <TmpD>/<netname>.pmf.
#pragma once

void WritePMFFile();
