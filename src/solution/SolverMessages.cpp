// Fatal exits and banners of the linear solver.
#include "solution/SolverMessages.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

void solver_exit()
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::exit(1);
}

void fail_on_stdout(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    solver_exit();
}

void fail_on_stderr(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    solver_exit();
}

void fail_with_perror(const char* text)
{
    std::perror(text);
    solver_exit();
}

void print_stars() { std::printf("\t\t *******************************************\n"); }

void print_no_convergence(int max_iter, double reached)
{
    print_stars();
    std::printf("\t\t no convergence within %d iterations\n", max_iter);
    std::printf("\t\t achieved accuracy: %g\n", reached);
    print_stars();
}

void print_no_solution(const char* process)
{
    print_stars();
    std::printf("\t\t fatal error in iterative %s process\n", process);
    std::printf("\t\t no solution available*\n");
    print_stars();
}

void print_convergence(int iterations, double reached)
{
    std::printf("\t\t convergence in %d iterations with accuracy %g.\n", iterations, reached);
}
