// Keyword lines of the per-user file and of the dimension file. Lines are read
// in pieces of at most 197 characters, as the files have always been read.
#include "solution/SolverSettings.h"

#include "solution/ChainFiles.h"
#include "solution/SolverMessages.h"

#include <strings.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr int kLineLength = 198;

// Reads lines until one begins with `prefix`; false at the end of the file.
bool find_line(std::FILE* file, const char* prefix, bool ignore_case, char* line)
{
    std::size_t length = std::strlen(prefix);
    while (std::fgets(line, kLineLength, file)) {
        int differs =
            ignore_case ? strncasecmp(line, prefix, length) : std::strncmp(line, prefix, length);
        if (differs == 0) return true;
    }
    return false;
}

std::FILE* open_for_reading(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (!file) fail_on_stdout("\t\t can't open file '%s' for reading!\n", path.c_str());
    return file;
}

double default_drop_tolerance(double epsilon) { return epsilon * kDefaultDropFactor; }

double drop_tolerance_from(const char* line, double epsilon)
{
    char word[kLineLength];
    double value;
    if (std::sscanf(line, "%*s %197s", word) == 1) {
        if (strncasecmp(word, "AUTO", 4) == 0) return default_drop_tolerance(epsilon);
        if (strncasecmp(word, "NONE", 4) == 0) return 0.0;
        if (std::sscanf(word, "%lf", &value) == 1) return value;
    }
    value = default_drop_tolerance(epsilon);
    std::fprintf(stderr, "\t\t missing value for DROPTOLERANCE in file ~/%s\n", ".Plenar");
    std::fprintf(stderr, "\t\t setting DROPTOLERANCE to default (EPSILON*0.1): %g", value);
    std::fflush(stderr);
    return value;
}

}  // namespace

double get_drop_tolerance(double epsilon)
{
    const char* home = std::getenv("HOME");
    if (!home) fail_on_stderr("\t\t environment variable 'HOME' not set!\n");
    std::FILE* file = open_for_reading(std::string(home) + "/.Plenar");
    char line[kLineLength];
    bool found = find_line(file, "DROPTOLERANCE", true, line);
    std::fclose(file);
    return found ? drop_tolerance_from(line, epsilon) : default_drop_tolerance(epsilon);
}

int get_dimension(const char* model)
{
    std::string path = chain_file_name(model, ".AUX");
    std::FILE* file = open_for_reading(path);
    char line[kLineLength];
    int n = -1;
    if (find_line(file, "TANGIBLE MARKINGS", false, line) && std::sscanf(line + 17, "%d", &n) != 1)
        n = -1;
    std::fclose(file);
    if (n < 0)
        fail_on_stdout("\t\t file '%s' doesn't contain a line 'TANGIBLE MARKINGS <number>' !\n",
                       path.c_str());
    return n;
}
