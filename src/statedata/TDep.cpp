// TDep: dependency arrays used while the graph is generated.
#include "statedata/TDep.h"

#include "statedata/TDepLst.h"

#include <iostream>

TDep** RefTDep = nullptr;

namespace {

unsigned short* ToArray(const short_list* l, unsigned short n)
{
    if (n == 0) return nullptr;
    unsigned short* a = new unsigned short[n]();
    unsigned short k = 0;
    for (; l && k < n; l = l->next) a[k++] = static_cast<unsigned short>(l->value);
    return a;
}

void PrintArray(const char* label, const unsigned short* a, unsigned short n)
{
    for (unsigned short k = 0; k < n; ++k) std::cout << label << a[k] << "\n";
}

}  // namespace

TDep::TDep(const TDepLst& l)
    : exc_no(l.exc_no),
      imm_no(l.imm_no),
      inf_no(l.inf_no),
      exc(ToArray(l.exc, l.exc_no)),
      imm(ToArray(l.imm, l.imm_no)),
      inf(ToArray(l.inf, l.inf_no))
{
}

TDep::~TDep()
{
    delete[] exc;
    delete[] imm;
    delete[] inf;
}

void TDep::Print() const
{
    PrintArray("exc. trans. no = ", exc, exc_no);
    PrintArray("imm. trans. no = ", imm, imm_no);
    PrintArray("inf. trans. no = ", inf, inf_no);
}
