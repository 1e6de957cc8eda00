// Listing frames on standard output.
#include "foundation/Framing.h"

#include <iostream>

const char* const kFrameLine =
    "---------------------------------------------------------------";

namespace {

const char* const kStartArrow = "start ->->->->->->->-> ";
const char* const kStopArrow = "stop  ->->->->->->->-> ";

}  // namespace

void START(const char* name)
{
    std::cout << "\n\n" << kFrameLine << '\n' << kStartArrow << name << "\n\n";
}

void STOP(const char* name)
{
    std::cout << '\n' << kStopArrow << name << '\n' << kFrameLine << std::endl;
}

void SUBSTART(const char* name, const char* indent)
{
    std::cout << indent << kFrameLine << '\n'
              << indent << kStartArrow << name << '\n'
              << indent << '\n';
}

void SUBSTOP(const char* name, const char* indent)
{
    std::cout << indent << '\n'
              << indent << kStopArrow << name << '\n'
              << indent << kFrameLine << std::endl;
}

void DELIMITER(const char* indent)
{
    std::cout << indent << "- - - - - - - - - - - - - - - - - - - - - - - - - - - -" << '\n';
}
