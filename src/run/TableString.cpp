// Loading of the net description. The file is measured first and read in a
// second opening, so a description that shrinks in between is read only as
// far as it still goes.
#include "run/TableString.h"

#include "foundation/RunState.h"
#include "run/RunExit.h"

#include <cstdio>
#include <iostream>

namespace {

const char kEndOfInput = '\xFF';

// The size of a readable file; false when it cannot be opened or read (a
// directory of that name, for example).
bool MeasureFile(const Str& path, std::size_t& size)
{
    std::FILE* file = std::fopen(path.GetCChar(), "rb");
    if (!file) return false;
    char chunk[8192];
    size = 0;
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) size += got;
    bool readable = !std::ferror(file);
    std::fclose(file);
    return readable;
}

bool ReadFile(const Str& path, std::size_t size, std::string& text)
{
    std::FILE* file = std::fopen(path.GetCChar(), "rb");
    if (!file) return false;
    text.resize(size);
    text.resize(std::fread(text.data(), 1, size, file));
    std::fclose(file);
    return true;
}

void LoadDescriptionFile()
{
    Str base = netname.GetCChar()[0] == '/' ? netname : ModelD + "/" + netname;
    Str lower = base + ".table";
    Str upper = base + ".TABLE";
    if (const char* slash = netname.RIndex('/'); slash && netname.GetCChar()[0] == '/')
        netname = Str(slash + 1);

    if (SHOW_ENV)
        std::cout << "\t table string is not defined !\n"
                  << "\t try to get table string from " << lower.GetCChar() << " ...\n"
                  << std::endl;

    const Str* found = &lower;
    std::size_t size = 0;
    if (!MeasureFile(lower, size)) {
        if (SHOW_ENV)
            std::cout << "\t can't open file : " << lower.GetCChar() << '\n'
                      << "\t try to get table string from " << upper.GetCChar() << " ..."
                      << std::endl;
        found = &upper;
        if (!MeasureFile(upper, size)) {
            std::cout << "\t can't get transitiontable" << std::endl;
            AbortRun();
        }
    }

    std::string text;
    if (!ReadFile(*found, size, text)) {
        std::cout << "\t can't reopen file with transitiontable" << std::endl;
        AbortRun();
    }
    StoreTableString(text);
}

}  // namespace

void StoreTableString(const std::string& text)
{
    std::size_t length = text.find(kEndOfInput);
    if (length == std::string::npos) length = text.size();
    Str stored;
    stored.Malloc(static_cast<int>(length + 2));
    for (std::size_t i = 0; i < length; ++i) stored.DirtyAdd(text[i], static_cast<int>(i));
    stored.DirtyAdd(kEndOfInput, static_cast<int>(length));
    stored.DirtyAdd('\0', static_cast<int>(length + 1));
    TableString = std::move(stored);
    table_string = TableString.GetChar();
}

void GetTableString()
{
    if (!TableString.IsNull())
        StoreTableString(TableString.GetCChar());
    else
        LoadDescriptionFile();
}
