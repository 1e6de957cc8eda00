// Forked runs of the reader.
#include "ReaderRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "foundation/RunState.h"
#include "language/ClassCheck.h"
#include "language/GlobalTables.h"
#include "language/Parser.h"

// Errors end the child with exit(); what it holds then is no leak.
extern "C" void __lsan_disable() __attribute__((weak));

ChildRun RunInChild(const std::function<void()>& body)
{
    std::cout.flush();
    std::fflush(stdout);
    int fds[2];
    if (pipe(fds) != 0) return {-1, "pipe failed"};
    pid_t pid = fork();
    if (pid == 0) {
        if (__lsan_disable) __lsan_disable();
        close(fds[0]);
        dup2(fds[1], 1);
        close(fds[1]);
        body();
        std::cout.flush();
        std::fflush(stdout);
        _exit(0);
    }
    close(fds[1]);
    std::string output;
    char buf[4096];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;)
        output.append(buf, static_cast<size_t>(n));
    close(fds[0]);
    int raw = 0;
    waitpid(pid, &raw, 0);
    int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return {status, output};
}

void Parse(const std::string& description)
{
    // Owned by the child until it ends.
    static std::string text;
    text = description + '\xFF';
    table_string = text.data();
    yyparse();
}

void ParseAndCheck(const std::string& description)
{
    Parse(description);
    ClassCheck();
    InitGlobalVars();
}

std::string Net(const std::string& elementary, const std::string& product,
                const std::string& transitions, const std::string& evaluation)
{
    return "Definition :\nParameter : Page : \\\nElementaryPlace : " + elementary +
           "\nProductPlace : " + product + "\nTransition : " + transitions +
           "\nEvaluate : " + evaluation + "\n";
}

std::string Described(const std::string& description, std::string (*describe)(), bool check)
{
    ChildRun run = RunInChild([&] {
        if (check)
            ParseAndCheck(description);
        else
            Parse(description);
        std::cout << describe();
    });
    EXPECT_EQ(run.status, 0) << run.output;
    return run.output;
}
