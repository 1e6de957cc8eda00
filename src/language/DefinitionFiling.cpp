// Definitions, parameters and measures.
#include "language/DefinitionFiling.h"

#include "language/ReaderReports.h"
#include "language/Registration.h"
#include "language/ScannerState.h"
#include "netmodel/ConstVal.h"
#include "netmodel/Registries.h"

PtrList<Definition>* pending_parameters = nullptr;

namespace {

bool InEvaluationSection()
{
    return section == kEvaluationSection || section == kAfterEvaluationParameter;
}

}  // namespace

Definition* NewDefinition(Str* name, Cell* value)
{
    auto* d = new Definition(*name, value);
    delete name;
    delete value;
    return d;
}

Definition* NewMultisetDefinition(Str* name, Cell* value)
{
    if (InEvaluationSection()) YaccError("mset definition in eval section", name);
    return NewDefinition(name, value);
}

Definition* NewMeasureDefinition(Str* name, Cell* value)
{
    if (!InEvaluationSection()) YaccError("eval definition in wrong section", name);
    return NewDefinition(name, value);
}

Definition* NewTextDefinition(Str* name, Str* text)
{
    if (*name == *text) YaccError("definition loop", name);
    Cell* value = new ConstVal(*text);
    delete text;
    return NewDefinition(name, value);
}

void FileDefinition(Definition* d)
{
    switch (section) {
        case kDefinitionSection:
        case kAfterParameter:
            SaveDefinition(d);
            break;
        case kParameterSection:
        case kAfterPage:
            if (!pending_parameters) pending_parameters = new PtrList<Definition>();
            pending_parameters->Append(d);
            break;
        case kEvaluationSection:
        case kAfterEvaluationParameter:
            EvalRefs.Append(d);
            break;
        default:
            YaccError("definition in wrong section");
    }
}

PtrList<Definition>* TakeParameters()
{
    PtrList<Definition>* parameters = pending_parameters;
    pending_parameters = nullptr;
    return parameters;
}

void AttachParameters(Page* page, PtrList<Definition>* parameters)
{
    if (!parameters) return;
    page->AddParams(*parameters);
    delete parameters;
}
