// Definitions and initial values of the run parameters.
#include "foundation/RunState.h"

int DEBUG = 0;
int SPECIAL_DEBUG = 0;
int SHOW_PI = 0;
int SHOW_ENV = 0;
int SHOW_RRG = 0;
int SHOW_RES = 0;
int SHOW_SIZE = 0;
int SHOW_TIME = 0;
int SHOW_COMM = 0;
int SHOW_HASH = 0;
int SHOW_COUNT = 0;
int SHOW_INFOS = 0;
int SHOW_CLASS = 0;
int SHOW_LGS = 0;
int SHOW_SPECIALS = 0;

Str netname("default");
Str subname;
Str p_epsilon;
Str p_maxiter;
double epsilon = 1e-07;
int maxiter = 10000;
Str TableString;
char* table_string = nullptr;
Str auto_iter("-a");
int execmode = 1;
int default_mode = 0;
int callno = 0;

Str HomeD;
Str PLENARD;
Str ModelD;
Str PLENARRC;
Str BinD;
Str ScrD;
Str TmpD;
char* TmpDir = nullptr;
Str dir_name;
Str purename;
