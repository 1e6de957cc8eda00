// Definitions.
#include "netmodel/Definition.h"

#include <memory>

Definition& Definition::operator=(const Definition& o)
{
    if (this == &o) return *this;
    Cell* copy = o.val ? o.val->Copy() : nullptr;
    Clear();
    Textual::operator=(o);
    val = copy;
    return *this;
}

Str Definition::GetValName() const
{
    if (!val) return Str("noname");
    return std::unique_ptr<CellVal>(val->Calculate())->GetString();
}

void Definition::Clear()
{
    delete val;
    val = nullptr;
}
