// The text lines read back from workers: line ends, zero bytes, the length
// limit, the end of the connection, "ready." and the CPU time lines.
#include "solution/WorkerLines.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

TEST(WorkerLines, LinesEndAtLineEndsZeroBytesOrTheLengthLimit)
{
    int ends[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0);
    const std::string sent = std::string("first\nsecond") + '\0' + std::string(250, 'x') + "\nlast";
    ASSERT_EQ(write(ends[0], sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
    close(ends[0]);

    std::string line;
    std::vector<std::string> lines;
    while (ReadWorkerLine(ends[1], line) == LineResult::kLine) lines.push_back(line);
    close(ends[1]);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "first");
    EXPECT_EQ(lines[1], "second");
    EXPECT_EQ(lines[2], std::string(199, 'x'));
    EXPECT_EQ(lines[3], std::string(51, 'x'));
    EXPECT_EQ(lines[4], "last");  // the end of the connection ends it
}

// A worker killed with unread data resets its connection.
TEST(WorkerLines, AResetConnectionHasEnded)
{
    int server = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    listen(server, 1);
    getsockname(server, reinterpret_cast<sockaddr*>(&address), &length);
    int worker = socket(AF_INET, SOCK_STREAM, 0);
    ASSERT_EQ(connect(worker, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    int engine = accept(server, nullptr, nullptr);
    ASSERT_EQ(write(engine, "data", 4), 4);
    pollfd arrived{worker, POLLIN, 0};
    ASSERT_EQ(poll(&arrived, 1, 60000), 1);
    close(worker);  // with the data unread: a reset

    std::string line;
    EXPECT_EQ(ReadWorkerLine(engine, line), LineResult::kClosed);
    close(engine);
    close(server);
}

TEST(WorkerLines, ReadyAndCpuTimeLines)
{
    EXPECT_TRUE(IsReadyLine("ready."));
    EXPECT_TRUE(IsReadyLine("ready. bye"));
    EXPECT_FALSE(IsReadyLine("ready"));
    EXPECT_TRUE(IsCpuTimeLine("Elapsed CPU time 0:0:1"));
    EXPECT_FALSE(IsCpuTimeLine("Elapsed CPU"));
    EXPECT_DOUBLE_EQ(KilnCpuSeconds("Elapsed CPU time 1:2:3.5"), 3723.5);
    EXPECT_DOUBLE_EQ(KilnCpuSeconds("Elapsed CPU time"), 0.0);
    EXPECT_DOUBLE_EQ(EkilnCpuSeconds("Elapsed CPU time: 2.25"), 2.25);
    EXPECT_DOUBLE_EQ(EkilnCpuSeconds("Elapsed CPU time: none"), 0.0);
}

}  // namespace
