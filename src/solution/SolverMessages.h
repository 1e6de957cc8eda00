// The linear solver's own way of reporting: its fatal errors print a message
// (on standard output, or through perror on standard error) and end the
// process with status 1; the banner blocks frame the non-fatal outcomes.
#pragma once

[[noreturn]] void solver_exit();
// printf the message to standard output, then end the run.
[[noreturn]] void fail_on_stdout(const char* format, ...) __attribute__((format(printf, 1, 2)));
// fprintf the message to standard error, then end the run.
[[noreturn]] void fail_on_stderr(const char* format, ...) __attribute__((format(printf, 1, 2)));
// perror with the text, then end the run.
[[noreturn]] void fail_with_perror(const char* text);

void print_stars();
// The banner for a relaxation run that did not reach the required accuracy.
void print_no_convergence(int max_iter, double reached);
// The banner for a relaxation run that could not start; `process` is
// "solution" or "refinement".
void print_no_solution(const char* process);
void print_convergence(int iterations, double reached);
