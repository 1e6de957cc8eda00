// Pages.
#include "netmodel/Page.h"

namespace {

template <class T>
PtrList<T>* ShallowCopy(const PtrList<T>* l)
{
    return l ? new PtrList<T>(*l) : nullptr;
}

}  // namespace

Page::Page(const Page& o)
    : Textual(o), params(ShallowCopy(o.params)), subPages(ShallowCopy(o.subPages))
{
}

Page& Page::operator=(const Page& o)
{
    if (this == &o) return *this;
    Textual::operator=(o);
    delete params;
    delete subPages;
    params = ShallowCopy(o.params);
    subPages = ShallowCopy(o.subPages);
    return *this;
}

Page::~Page()
{
    delete params;
    delete subPages;
}

void Page::AddSubPage(Textual* t)
{
    if (!t) return;
    if (!subPages) subPages = new PtrList<Textual>();
    if (subPages->UAppend(t) < 0) delete t;
}

void Page::AddParam(const Definition& d)
{
    if (!params) params = new PtrList<Definition>();
    auto* copy = new Definition(d);
    if (params->UAppend(copy) < 0) delete copy;
}

void Page::AddParams(const PtrList<Definition>& l)
{
    delete params;
    params = new PtrList<Definition>(l);
}

bool Page::IsSubPage(const Str& n) const
{
    if (!subPages) return false;
    for (auto* e = subPages->first; e; e = e->next)
        if (*e->item == n) return true;
    return false;
}

Definition* Page::IsParam(const Str& n) const
{
    if (!params) return nullptr;
    for (auto* e = params->first; e; e = e->next)
        if (e->item->GetName() == n) return e->item;
    return nullptr;
}

void Page::Clear()
{
    if (subPages) subPages->HardClear();
    if (params) params->HardClear();
    delete subPages;
    delete params;
    subPages = nullptr;
    params = nullptr;
}
