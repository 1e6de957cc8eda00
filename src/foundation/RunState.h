// Process-wide run parameters and diagnostic switches. They are set once by
// the command line and environment handling and read by every later stage.
#pragma once

#include "foundation/Str.h"

// Diagnostic switches: 0 off, 1 on.
extern int DEBUG;          // -v  progress lines
extern int SPECIAL_DEBUG;  // -x  short graph listing
extern int SHOW_PI;        // -p
extern int SHOW_ENV;       // -e
extern int SHOW_RRG;       // -r
extern int SHOW_RES;       // -R
extern int SHOW_SIZE;      // -s
extern int SHOW_TIME;      // -t
extern int SHOW_COMM;      // -c
extern int SHOW_HASH;      // -H
extern int SHOW_COUNT;     // -y
extern int SHOW_INFOS;     // -i
extern int SHOW_CLASS;     // -C
extern int SHOW_LGS;       // -l
extern int SHOW_SPECIALS;  // no switch

extern Str netname;
extern Str subname;
extern Str p_epsilon;
extern Str p_maxiter;
extern double epsilon;
extern int maxiter;
extern Str TableString;
extern char* table_string;
extern Str auto_iter;
extern int execmode;
extern int default_mode;
extern int callno;

extern Str HomeD;
extern Str PLENARD;
extern Str ModelD;
extern Str PLENARRC;
extern Str BinD;
extern Str ScrD;
extern Str TmpD;
extern char* TmpDir;
extern Str dir_name;
extern Str purename;
