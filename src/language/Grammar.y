/* The grammar of net descriptions, an LALR(1) parser. Its actions build the
 * net model in the process-wide registries through the functions of the
 * *Actions, DefinitionFiling and *Registration files; every error ends the
 * process, so nothing is ever recovered.
 *
 * Conflicts. The grammar is ambiguous only in its expressions and in the
 * vertical bar; all ambiguities are settled by the precedence declarations
 * below and bison is told to accept no unresolved conflict (%expect 0):
 *  - "*" and "/" bind tighter than "+" and "-"; all two-operand operators
 *    group to the left. Unary minus has the precedence of "-", so -a*b is
 *    -(a*b) and -a+b is (-a)+b. This holds for numbers, multisets
 *    (num_expr "*" tms_expr, tms_expr "/" num_expr) and measures alike.
 *  - A comparison needs no precedence: it cannot be an operand of an
 *    arithmetic operator, so a < b + c can only be a < (b + c).
 *  - "!" binds tighter than "&" and "|", which share one level and group to
 *    the left (a | b & c is (a | b) & c).
 *  - A vertical bar after a complete boolean definition ends the definition
 *    (it separates definitions in a list): the rule carries DEFINITION_END,
 *    above "|", so the parser reduces the definition instead of shifting
 *    the bar into a disjunction. A disjunction in a definition needs
 *    parentheses.
 * Everything else is decided by one token of lookahead: whether "(" or "-"
 * starts a number, a multiset, a condition or a measure is left open until
 * a token tells them apart.
 */

%code requires {
#include "language/ParserValues.h"
}

%code {
#include <cstring>

#include "language/DefinitionFiling.h"
#include "language/ExitLeakCheck.h"
#include "language/ExpressionActions.h"
#include "language/ExpressionLimits.h"
#include "language/NameLookup.h"
#include "language/NetActions.h"
#include "language/Parser.h"
#include "language/ReaderReports.h"
#include "language/Registration.h"
#include "language/TransitionRegistration.h"

// The parser stack starts with 200 entries and may grow to 10000.
#define YYINITDEPTH 200
#define YYMAXDEPTH 10000
}

%define api.token.prefix {TOK_}
%expect 0

%initial-action {
    CheckLeaksBeforeGlobalsGo();
    StartExpressionBudget();
    ForgetNameIndexes();
}

%union {
    int integer;
    double real;
    Str* text;
    Cell* cell;
    Condition* condition;
    Delay* delay;
    Arc* arc;
    ArcPair arcs;
    Binding* binding;
    PtrList<Binding>* bindings;
    Transition* transition;
    Place* place;
    Page* page;
    Definition* definition;
    PtrList<Definition>* definitions;
}

/* The terminals, in the order of their token values (258 upward). */
%token <integer> INTEGER
%token <real> REAL
%token <text> STRING
%token COMMA "," DOT "." COLON ":" SEMICOLON ";" QUESTION "?"
%token LPAREN "(" LBRACKET "[" LBRACE "{" RPAREN ")" RBRACKET "]" RBRACE "}"
%token PLUS "+" MINUS "-" SLASH "/" STAR "*" HASH "#" QUOTE "'" AT "@"
%token NOT "!" AND "&" BAR "|" TRUE "TRUE" FALSE "FALSE"
%token EQUAL "=" LESS "<" GREATER ">" NOT_EQUAL "!=" LESS_EQUAL "<=" GREATER_EQUAL ">="
%token EXPONENTIAL "Exponential" DETERMINISTIC "Deterministic"
%token <text> GENERAL
%token IMMEDIATE "Immediate" UNIFORM "Uniform" TRANSITION "Transition"
%token DEFINITION "Definition" ELEMENTARYPLACE "ElementaryPlace" PRODUCTPLACE "ProductPlace"
%token PAGE "Page" PARAMETER "Parameter" EVALUATE "Evaluate"
%token ETOKEN "e" ES "ES" IS "IS" IF "IF" IN "in#" OUT "out#" ARROW "->"
%token ASSIGN "assign" SUBPAGE "subpage"
%token <cell> DEF_BOOL DEF_FLOAT DEF_ETMS DEF_CTMS DEF_PLACETMS DEF_PLACENUM
%token EXPECTATION "E[" PROBABILITY "P[" THROUGHPUT "TP["

%left "|" "&"
%precedence DEFINITION_END
%precedence "!"
%left "+" "-"
%left "*" "/"

%type <page> page_name
%type <definitions> parameter_section
%type <definition> definition
%type <place> place
%type <transition> transition
%type <integer> server_type rel_op colour
%type <condition> guard
%type <bindings> bindings
%type <binding> binding
%type <real> weight
%type <arcs> arcs
%type <arc> in_arc out_arc
%type <delay> delay
%type <text> subtransition subtransition_head count_head tms_head version
%type <cell> num_expr int_const real_const place_count bool_expr comparison
%type <cell> tms_expr ctms_term etms_term ctms_set etms_set scaled_ctms scaled_etms
%type <cell> place_tms filter ctms_filter etms_filter ctoken etoken
%type <cell> measure_expr measure_argument

%%

/* Structure of a description. */

net_description
    : definition_section page_blocks
    ;

page_blocks
    : page_block
    | page_blocks page_block
    ;

page_block
    : page_header place_sections transition_section evaluation_section
    ;

page_header
    : parameter_section page_name { AttachParameters($2, $1); }
    ;

page_name
    : "Page" ":" STRING { $$ = CheckAndSavePage($3); delete $3; }
    ;

definition_section
    : definition_head
    | definition_head definition_list
    ;

parameter_section
    : parameter_head { $$ = TakeParameters(); }
    | parameter_head definition_list { $$ = TakeParameters(); }
    ;

evaluation_section
    : evaluate_head
    | evaluate_head definition_list
    ;

definition_head
    : "Definition" ":"
    ;

parameter_head
    : "Parameter" ":"
    ;

evaluate_head
    : "Evaluate" ":"
    ;

definition_list
    : definition { FileDefinition($1); }
    | definition_list "|" definition { FileDefinition($3); }
    ;

place_sections
    : elementary_places product_places
    | product_places elementary_places
    ;

elementary_places
    : "ElementaryPlace" ":"
    | "ElementaryPlace" ":" place { SavePlace($3, ElementaryPlace); }
    | elementary_places "|" place { SavePlace($3, ElementaryPlace); }
    ;

product_places
    : "ProductPlace" ":"
    | "ProductPlace" ":" place { SavePlace($3, ObjectPlace); }
    | product_places "|" place { SavePlace($3, ObjectPlace); }
    ;

transition_section
    : "Transition" ":"
    | "Transition" ":" subtransitions
    | "Transition" ":" transitions
    | "Transition" ":" transitions subtransitions
    | "Transition" ":" subtransitions transitions
    ;

transitions
    : transition { SaveTransition($1); }
    | transitions transition { SaveTransition($2); }
    ;

subtransitions
    : subtransition { SaveSubTransition($1); delete $1; }
    | subtransitions subtransition { SaveSubTransition($2); delete $2; }
    ;

/* Definitions. */

definition
    : STRING "=" num_expr { $$ = NewDefinition($1, $3); }
    | STRING "=" bool_expr %prec DEFINITION_END { $$ = NewDefinition($1, $3); }
    | STRING "=" tms_expr { $$ = NewMultisetDefinition($1, $3); }
    | STRING "=" measure_expr { $$ = NewMeasureDefinition($1, $3); }
    | STRING "=" STRING { $$ = NewTextDefinition($1, $3); }
    ;

/* Places: name; capacity; initial marking. */

place
    : STRING ";" ";" { $$ = NewPlace($1, NumCap, nullptr, nullptr); }
    | STRING ";" num_expr ";" { $$ = NewPlace($1, NumCap, $3, nullptr); }
    | STRING ";" bool_expr ";" { $$ = NewPlace($1, BoolCap, $3, nullptr); }
    | STRING ";" num_expr ";" tms_expr { $$ = NewPlace($1, NumCap, $3, $5); }
    | STRING ";" bool_expr ";" tms_expr { $$ = NewPlace($1, BoolCap, $3, $5); }
    | STRING ";" ";" tms_expr { $$ = NewPlace($1, NumCap, nullptr, $4); }
    ;

/* Transitions and bindings. */

transition
    : STRING "[" bindings "]" { $$ = NewTransition($1, ExclusiveServer, nullptr, $3); }
    | STRING guard "[" bindings "]" { $$ = NewTransition($1, ExclusiveServer, $2, $4); }
    | STRING server_type "[" bindings "]"
      { $$ = NewTransition($1, static_cast<ServerType>($2), nullptr, $4); }
    | STRING server_type guard "[" bindings "]"
      { $$ = NewTransition($1, static_cast<ServerType>($2), $3, $5); }
    ;

server_type
    : "ES" { $$ = ExclusiveServer; }
    | "IS" { $$ = InfiniteServer; }
    ;

guard
    : "(" bool_expr ")" { $$ = NewCondition($2); }
    | "(" num_expr ")" { $$ = NewCondition($2); }
    | "(" ")" { $$ = new Condition(true); }
    ;

bindings
    : binding { $$ = new PtrList<Binding>($1); }
    | bindings "|" binding { $$ = $1; $$->Append($3); }
    ;

binding
    : guard arcs ";" delay { $$ = NewBinding($1, $2, nullptr, $4); }
    | guard arcs weight ";" delay { $$ = NewBinding($1, $2, &$3, $5); }
    | arcs weight ";" delay { $$ = NewBinding(nullptr, $1, &$2, $4); }
    | arcs ";" delay { $$ = NewBinding(nullptr, $1, nullptr, $3); }
    ;

weight
    : ";" INTEGER { $$ = $2; }
    | ";" REAL { $$ = $2; }
    ;

arcs
    : in_arc { $$ = ArcPair{}; AddArc($$.in, $1); }
    | out_arc { $$ = ArcPair{}; AddArc($$.out, $1); }
    | arcs "," in_arc { $$ = $1; AddArc($$.in, $3); }
    | arcs "," out_arc { $$ = $1; AddArc($$.out, $3); }
    ;

in_arc
    : "in#" STRING "=" tms_expr { $$ = NewArc($2, $4, "inarc place is not from this page"); }
    ;

out_arc
    : "out#" STRING "=" tms_expr { $$ = NewArc($2, $4, "outarc place is not from this page"); }
    ;

delay
    : "Immediate" { $$ = new Immediate(); }
    | "Immediate" "(" num_expr ")" { $$ = NewCellDelay<Immediate>($3); }
    | "Exponential" "(" num_expr ")" { $$ = NewCellDelay<Exponential>($3); }
    | "Deterministic" "(" num_expr ")" { $$ = NewCellDelay<Deterministic>($3); }
    | GENERAL { $$ = new General(*$1); delete $1; }
    | "Uniform" "(" num_expr "," num_expr ")" { $$ = NewUniform($3, $5); }
    ;

/* Sub-transitions: the refinement of a transition by a sub-page. */

subtransition
    : subtransition_head "assign" port_pairs "]" { $$ = $1; }
    ;

subtransition_head
    : STRING "[" "subpage" STRING ";" { $$ = OpenSubTransition($1, $4); }
    ;

port_pairs
    : port_pair
    | port_pairs "," port_pair
    ;

port_pair
    : STRING "->" STRING { AddSocketPortPair($1, $3); }
    ;

/* Numbers. */

num_expr
    : DEF_FLOAT
    | int_const
    | real_const
    | place_count
    | "(" num_expr ")" { $$ = $2; }
    | "-" num_expr { $$ = NewUnary(MinusOp, $2); }
    | num_expr "+" num_expr { $$ = NewBinary(PlusOp, $1, $3); }
    | num_expr "-" num_expr { $$ = NewBinary(MinusOp, $1, $3); }
    | num_expr "/" num_expr { $$ = NewBinary(DivideOp, $1, $3); }
    | num_expr "*" num_expr { $$ = NewBinary(TimesOp, $1, $3); }
    ;

int_const
    : INTEGER { $$ = new ConstVal($1); }
    ;

real_const
    : REAL { $$ = new ConstVal($1); }
    ;

place_count
    : DEF_PLACENUM
    | count_head { $$ = NewPlaceFunction(CountOp, $1, nullptr); }
    | count_head "(" ctoken ")" { $$ = NewPlaceFunction(CountOp, $1, $3); }
    | count_head "(" etoken ")" { $$ = NewPlaceFunction(CountOp, $1, $3); }
    | count_head "(" filter ")" { $$ = NewPlaceFunction(CountOp, $1, $3); }
    ;

count_head
    : "#" STRING { $$ = PlaceReference($2); }
    ;

/* Conditions. */

bool_expr
    : comparison
    | DEF_BOOL
    | "TRUE" { $$ = new UnaerOp(NotOp, 0); }
    | "FALSE" { $$ = new UnaerOp(NotOp, 1); }
    | "-" { $$ = new ConstVal(true); }
    | "(" bool_expr ")" { $$ = $2; }
    | "!" bool_expr { $$ = NewUnary(NotOp, $2); }
    | bool_expr "&" bool_expr { $$ = NewBinary(AndOp, $1, $3); }
    | bool_expr "|" bool_expr { $$ = NewBinary(OrOp, $1, $3); }
    ;

comparison
    : num_expr rel_op num_expr
      { $$ = NewBinary(static_cast<Operator>($2), $1, $3); }
    | tms_expr rel_op tms_expr
      { $$ = NewBinary(static_cast<Operator>($2), $1, $3); }
    ;

rel_op
    : "=" { $$ = EqualOp; }
    | "<" { $$ = LessOp; }
    | ">" { $$ = GreaterOp; }
    | "!=" { $$ = NotEqualOp; }
    | "<=" { $$ = LessEqualOp; }
    | ">=" { $$ = GreaterEqualOp; }
    ;

/* Token multisets. */

tms_expr
    : ctms_term
    | etms_term
    | place_tms
    | "(" tms_expr ")" { $$ = $2; }
    | "-" tms_expr { $$ = NewUnary(MinusOp, $2); }
    | tms_expr "+" tms_expr { $$ = NewBinary(PlusOp, $1, $3); }
    | tms_expr "-" tms_expr { $$ = NewBinary(MinusOp, $1, $3); }
    | num_expr "*" tms_expr { $$ = NewBinary(TimesOp, $1, $3); }
    | tms_expr "/" num_expr { $$ = NewBinary(DivideOp, $1, $3); }
    ;

ctms_term
    : ctoken
    | DEF_CTMS
    | ctms_set "}"
    ;

etms_term
    : etoken
    | DEF_ETMS
    | etms_set "}"
    ;

ctms_set
    : "{" scaled_ctms { $$ = $2; }
    | "{" DEF_CTMS { $$ = $2; }
    | "{" ctoken { $$ = $2; }
    | ctms_set "," scaled_ctms { $$ = NewBinary(PlusOp, $1, $3); }
    | ctms_set "," ctoken { $$ = NewBinary(PlusOp, $1, $3); }
    ;

etms_set
    : "{" scaled_etms { $$ = $2; }
    | "{" DEF_ETMS { $$ = $2; }
    | "{" etoken { $$ = $2; }
    | etms_set "," scaled_etms { $$ = NewBinary(PlusOp, $1, $3); }
    | etms_set "," etoken { $$ = NewBinary(PlusOp, $1, $3); }
    ;

scaled_ctms
    : "(" num_expr ")" "*" ctoken { $$ = NewBinary(TimesOp, $2, $5); }
    ;

scaled_etms
    : "(" num_expr ")" "*" etoken { $$ = NewBinary(TimesOp, $2, $5); }
    ;

place_tms
    : DEF_PLACETMS
    | tms_head { $$ = NewPlaceFunction(ContentsOp, $1, nullptr); }
    | tms_head "(" ctoken ")" { $$ = NewPlaceFunction(ContentsOp, $1, $3); }
    | tms_head "(" etoken ")" { $$ = NewPlaceFunction(ContentsOp, $1, $3); }
    | tms_head "(" filter ")" { $$ = NewPlaceFunction(ContentsOp, $1, $3); }
    ;

tms_head
    : "@" STRING { $$ = PlaceReference($2); }
    ;

filter
    : ctms_filter "}"
    | etms_filter "}"
    ;

ctms_filter
    : "{" ctoken { $$ = $2; }
    | ctms_filter "," ctoken { $$ = NewBinary(PlusOp, $1, $3); }
    ;

etms_filter
    : "{" etoken { $$ = $2; }
    | etms_filter "," etoken { $$ = NewBinary(PlusOp, $1, $3); }
    ;

ctoken
    : colour { $$ = NewTokenCell($1, 1); }
    | INTEGER "'" colour { $$ = NewTokenCell($3, $1); }
    ;

etoken
    : "e" { $$ = NewTokenCell(0, 1); }
    | INTEGER "'" "e" { $$ = NewTokenCell(0, $1); }
    ;

colour
    : STRING version STRING { $$ = RegisterColour($1, $2, StrippedName($3)); }
    | STRING version INTEGER { $$ = RegisterColour($1, $2, new Str(Str::Int2Str($3))); }
    | STRING "?" { $$ = RegisterColour($1, new Str("wdc"), new Str("wdc")); }
    ;

version
    : "[" STRING "]" { $$ = StrippedName($2); }
    | "[" "?" "]" { $$ = new Str("wdc"); }
    | "[" INTEGER "]" { $$ = new Str(Str::Int2Str($2)); }
    | "." { $$ = new Str("0"); }
    ;

/* Performance measures (evaluation sections only). */

measure_expr
    : "P[" measure_argument "]" { $$ = NewMeasure(Probability, $2, nullptr); }
    | "E[" num_expr "]" { $$ = NewMeasure(Expectation, $2, nullptr); }
    | "P[" measure_argument "IF" measure_argument "]"
      { $$ = NewMeasure(BayesProbability, $2, $4); }
    | "E[" num_expr "IF" measure_argument "]" { $$ = NewMeasure(BayesExpectation, $2, $4); }
    | "TP[" STRING "]" { $$ = new RatingCell(Throughput, *$2); delete $2; }
    | "(" measure_expr ")" { $$ = $2; }
    | "-" measure_expr { $$ = NewUnary(MinusOp, $2); }
    | measure_expr "+" measure_expr { $$ = NewBinary(PlusOp, $1, $3); }
    | measure_expr "-" measure_expr { $$ = NewBinary(MinusOp, $1, $3); }
    | measure_expr "*" measure_expr { $$ = NewBinary(TimesOp, $1, $3); }
    | measure_expr "/" measure_expr { $$ = NewBinary(DivideOp, $1, $3); }
    | num_expr "+" measure_expr { $$ = NewBinary(PlusOp, $1, $3); }
    | num_expr "-" measure_expr { $$ = NewBinary(MinusOp, $1, $3); }
    | num_expr "*" measure_expr { $$ = NewBinary(TimesOp, $1, $3); }
    | num_expr "/" measure_expr { $$ = NewBinary(DivideOp, $1, $3); }
    | measure_expr "+" num_expr { $$ = NewBinary(PlusOp, $1, $3); }
    | measure_expr "-" num_expr { $$ = NewBinary(MinusOp, $1, $3); }
    | measure_expr "*" num_expr { $$ = NewBinary(TimesOp, $1, $3); }
    | measure_expr "/" num_expr { $$ = NewBinary(DivideOp, $1, $3); }
    ;

measure_argument
    : bool_expr
    | DEF_FLOAT
    | INTEGER { $$ = new ConstVal($1); }
    ;

%%

// Bison's own messages become the reader's; semantic messages pass as
// they are.
void yyerror(const char* msg)
{
    if (std::strcmp(msg, "memory exhausted") == 0)
        YaccError("parser stack overflow");
    else if (std::strcmp(msg, "syntax error") == 0)
        YaccError("parse error");
    else
        YaccError(msg);
}
