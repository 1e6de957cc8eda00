// Results listing: a framed byte copy of the model's results listing file.
#include "run/ShowResults.h"

#include "foundation/Framing.h"
#include "foundation/RunState.h"

#include <fstream>
#include <iostream>

void ShowResults()
{
    Str path = ModelD + "/" + netname + ".RESULTS";
    std::ifstream file(path.GetCChar(), std::ios::binary);
    if (!file) {
        std::cout << "can't open resultfile : " << path.GetCChar() << std::endl;
        return;
    }
    START("RESULTS");
    // Copied in blocks: inserting the buffer of an empty file would leave
    // standard output in a failed state.
    char block[4096];
    while (file.read(block, sizeof block) || file.gcount() > 0)
        std::cout.write(block, file.gcount());
    STOP("RESULTS");
}
