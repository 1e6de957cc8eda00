// The reader of the net description: yyparse reads the whole description
// from `table_string` and builds the net model in the registries. Every
// error ends the process; 0 is returned otherwise.
#pragma once

int yyparse();
int yylex();
// Reports a syntax error ("parse error"), an exhausted parser stack
// ("parser stack overflow") or the given message; never returns.
[[noreturn]] void yyerror(const char* msg);
