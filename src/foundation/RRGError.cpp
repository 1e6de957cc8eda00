// Printing of the error block; every line is flushed, because the process
// ends right after it.
#include "foundation/RRGError.h"

#include <iostream>

RRGError::RRGError(const char* file_, int line_, const char* function_,
                   const char* description_, const char* info1_, const char* info2_,
                   const char* info3_)
    : file(file_),
      line(line_),
      function(function_),
      description(description_),
      info1(info1_),
      info2(info2_),
      info3(info3_)
{
}

RRGError& RRGError::operator=(const RRGError& o)
{
    file = o.file;
    line = o.line;
    function = o.function;
    description = o.description;
    info1 = o.info1;
    info2 = o.info2;
    info3 = o.info3;
    return *this;
}

void RRGError::PrintError() const
{
    std::ostream& out = std::cout;
    out << std::endl << "ERROR occured" << std::endl;
    if (!info3.IsNull()) out << std::endl << info3.GetCChar() << std::endl;
    out << std::endl;
    if (!file.IsNull()) out << "file\t\t : " << file.GetCChar() << std::endl;
    if (line != 0) out << "line\t\t : " << line << std::endl;
    if (!function.IsNull()) out << "function \t : " << function.GetCChar() << std::endl;
    if (!description.IsNull()) out << "description\t : " << description.GetCChar() << std::endl;
    if (!info1.IsNull()) out << "additional info1 : " << info1.GetCChar() << std::endl;
    if (!info2.IsNull()) out << "additional info2 : " << info2.GetCChar() << std::endl;
    if (!info3.IsNull()) out << "additional info3 : " << info3.GetCChar() << std::endl;
    out << std::endl;
}
