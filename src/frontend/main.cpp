// mosk-solve: analyses a net description with mosk and prints its measures.
#include <iostream>

#include "frontend/BuildVersion.h"
#include "frontend/InterruptFlag.h"
#include "frontend/SolveOptions.h"
#include "frontend/SolveSession.h"

int main(int argc, char** argv)
{
    SolveOptions options;
    std::string error;
    switch (ParseSolveOptions(argc, argv, options, error)) {
        case ParseOutcome::Help:
            std::cout << HelpText();
            return 0;
        case ParseOutcome::Version:
            std::cout << VersionLine() << "\n";
            return 0;
        case ParseOutcome::Error:
            std::cerr << "mosk-solve: " << error << "\n";
            return 2;
        case ParseOutcome::Run:
            break;
    }
    CatchInterrupts();
    return RunSolveSession(options, std::cout, std::cerr);
}
