// TDepLst: dependency lists while the net is checked.
#include "statedata/TDepLst.h"

#include <iostream>

void TDepLst::Add(short_list*& list, unsigned short& count, Members& members, short i)
{
    auto slot = static_cast<std::size_t>(static_cast<unsigned short>(i));
    if (slot >= members.present.size()) members.present.resize(slot + 1);
    if (members.present[slot]) return;
    members.present[slot] = true;
    short_list*& end = members.last ? members.last->next : list;
    add_short(end, i);  // onto an empty tail: no walk
    members.last = end;
    ++count;
}

void TDepLst::Clear()
{
    clear_short(exc);
    clear_short(imm);
    clear_short(inf);
    exc_no = imm_no = inf_no = 0;
    excMembers = immMembers = infMembers = Members();
}

void TDepLst::Print() const
{
    for (short_list* e = exc; e; e = e->next) std::cout << "exc. trans. no = " << e->value << "\n";
    for (short_list* e = imm; e; e = e->next) std::cout << "imm. trans. no = " << e->value << "\n";
    for (short_list* e = inf; e; e = e->next) std::cout << "inf. trans. no = " << e->value << "\n";
}
