// TDepLst: dependency lists while the net is checked.
#include "statespace/data/TDepLst.h"

#include <iostream>

void TDepLst::Add(short_list*& list, unsigned short& count, short i)
{
    for (short_list* e = list; e; e = e->next)
        if (e->value == i) return;
    add_short(list, i);
    ++count;
}

void TDepLst::Clear()
{
    clear_short(exc);
    clear_short(imm);
    clear_short(inf);
    exc_no = imm_no = inf_no = 0;
}

void TDepLst::Print() const
{
    for (short_list* e = exc; e; e = e->next) std::cout << "exc. trans. no = " << e->value << "\n";
    for (short_list* e = imm; e; e = e->next) std::cout << "imm. trans. no = " << e->value << "\n";
    for (short_list* e = inf; e; e = e->next) std::cout << "inf. trans. no = " << e->value << "\n";
}
