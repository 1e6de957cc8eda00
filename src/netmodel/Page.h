// Page: one page of the hierarchical net description, with its parameters
// and the names of its sub-pages. The page owns both; copies share the items
// (each has its own list), so only one of them may Clear().
#pragma once

#include "foundation/PtrList.h"
#include "foundation/Str.h"
#include "netmodel/Definition.h"
#include "netmodel/Textual.h"

class Page : public Textual {
public:
    Page() = default;
    explicit Page(const Str& name) : Textual(kText, name) {}
    Page(const Page& o);
    Page& operator=(const Page& o);
    ~Page();

    const Str& GetName() const { return GetString(); }
    PtrList<Textual>*& GetSubPages() { return subPages; }
    PtrList<Definition>*& GetParams() { return params; }

    // Takes over `t`; a name already present is not added and `t` is deleted.
    void AddSubPage(Textual* t);
    // Adds a copy of `d` unless a parameter of that name exists.
    void AddParam(const Definition& d);
    // Replaces the parameter list (not its items) by a copy of `l`.
    void AddParams(const PtrList<Definition>& l);
    bool IsSubPage(const Str& n) const;
    Definition* IsParam(const Str& n) const;

    void Clear();
    using Textual::operator==;
    using Textual::operator!=;
    bool operator==(const Page& o) const { return GetString() == o.GetString(); }
    bool operator!=(const Page& o) const { return !(*this == o); }

private:
    PtrList<Definition>* params = nullptr;
    PtrList<Textual>* subPages = nullptr;
};
