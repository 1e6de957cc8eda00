// Place header construction, the enabling test and the filtered reading of
// a place's contents by colour (used by the # and @ place functions).
#include "netmodel/PlaceHeader.h"

#include "netmodel/Registries.h"
#include "netmodel/Token.h"

namespace {

// The colour of a token number; null for the plain token 0 and for numbers
// that name no registered colour.
const Token* ColourOf(unsigned short token) { return TokenRefs.GetLE(static_cast<int>(token)); }

bool HasElements(const Tms* t) { return t && t->first; }

// Visits, for every filter colour in order, the first entry of the declared
// multiset or of the dense contents whose colour matches it.
template <class Visit>
void ForEachFirstMatch(const Tms* declared, const PTms* contents, const Tms* filter, Visit visit)
{
    for (const ltoken* f = filter->first; f; f = f->next) {
        const Token* wanted = ColourOf(f->token);
        if (!wanted) continue;
        if (contents) {
            for (short i = 0; i < contents->size; ++i) {
                const Token* colour = ColourOf(contents->entries[i].token);
                if (colour && wanted->IsEqual(*colour)) {
                    visit(contents->entries[i].token, contents->entries[i].quant);
                    break;
                }
            }
        } else {
            for (const ltoken* e = declared->first; e; e = e->next) {
                const Token* colour = ColourOf(e->token);
                if (colour && wanted->IsEqual(*colour)) {
                    visit(e->token, e->quant);
                    break;
                }
            }
        }
    }
}

}  // namespace

PlaceHeader::PlaceHeader(const char* n) : name(Textual::kText, n) {}

PlaceHeader::PlaceHeader(const Str& n) : name(Textual::kText, n) {}

PlaceHeader::PlaceHeader(int number, const Str& n, Tms* t)
    : no(number), name(Textual::kText, n), tms(copy_tms(t))
{
}

PlaceHeader::PlaceHeader(const PlaceHeader& o)
    : no(o.no), name(o.name), type(o.type), tms(copy_tms(o.tms))
{
}

PlaceHeader& PlaceHeader::operator=(const PlaceHeader& o)
{
    if (this == &o) return *this;
    Clear();
    name = o.name;
    no = o.no;
    type = o.type;
    tms = copy_tms(o.tms);
    return *this;
}

void PlaceHeader::Clear()
{
    clear_tms(tms);
    clear_ptms(newTms);
    clear_ptms(act);
}

void PlaceHeader::SetPTms(const PTms* p)
{
    clear_ptms(act);
    clear_ptms(newTms);
    act = copy_ptms(p);
    newTms = copy_ptms(p);
}

bool PlaceHeader::ContentsOk(const PTms* have, const Tms* need)
{
    if (!HasElements(need) || need->quant == 0 || !have) return false;
    if (have->quant < need->quant) return false;
    for (const ltoken* e = need->first; e; e = e->next)
        if (no_of_ptref(have, e->token) < e->quant) return false;
    return true;
}

unsigned short PlaceHeader::FGetQuant(const PTms* contents, const Tms* filter) const
{
    if (!contents && !HasElements(tms)) return 0;
    if (!HasElements(filter)) return contents ? contents->quant : tms->quant;
    unsigned short sum = 0;
    ForEachFirstMatch(tms, contents, filter,
                      [&sum](unsigned short, unsigned short quant) { sum += quant; });
    return sum;
}

Tms* PlaceHeader::FGetTms(const PTms* contents, const Tms* filter) const
{
    if (!HasElements(filter)) {
        if (!contents) return copy_tms(tms);
        Tms* all = ptms2tms(contents);
        // An empty place gives no multiset at all, as an empty declaration does.
        if (all && !all->first) clear_tms(all);
        return all;
    }
    if (!contents && !HasElements(tms)) return nullptr;
    Tms* found = nullptr;
    ForEachFirstMatch(tms, contents, filter, [&found](unsigned short token, unsigned short quant) {
        if (quant == 0) return;  // an empty slot adds no element
        ltoken e{token, quant, nullptr};
        add_tok(found, &e);
    });
    return found;
}
