// BSD sockets over IPv4: workers connect back to the host name they are
// given, which resolves to an IPv4 address on every system we start them on.
#include "solution/ServerSocket.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>

namespace {

constexpr int kBacklog = 5;

bool IsLoopback(const sockaddr_in& a)
{
    return (ntohl(a.sin_addr.s_addr) >> 24) == 127;
}

}  // namespace

int OpenListeningSocket(std::uint16_t& port, SocketStep& failed)
{
    int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        failed = SocketStep::kCreate;
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_ANY);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        failed = SocketStep::kBind;
    else if (getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
             length != sizeof address)
        failed = SocketStep::kPort;
    else if (listen(s, kBacklog) != 0)
        failed = SocketStep::kListen;
    else {
        port = ntohs(address.sin_port);
        return s;
    }
    close(s);
    return -1;
}

AcceptResult AcceptBefore(int server, Deadline deadline, int& connection)
{
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::microseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() < 0) left = left.zero();
        timeval timeout{static_cast<time_t>(left.count() / 1000000),
                        static_cast<suseconds_t>(left.count() % 1000000)};
        fd_set ready;
        FD_ZERO(&ready);
        FD_SET(server, &ready);
        int n = select(server + 1, &ready, nullptr, nullptr, &timeout);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return AcceptResult::kSelectFailed;
        if (n == 0) return AcceptResult::kTimedOut;
        break;
    }
    do {
        connection = accept4(server, nullptr, nullptr, SOCK_CLOEXEC);
    } while (connection < 0 && errno == EINTR);
    return connection < 0 ? AcceptResult::kAcceptFailed : AcceptResult::kAccepted;
}

// A connection whose two ends have the same address, or a loopback one,
// comes from this machine whatever name the address has.
void DescribePeer(int connection, std::string& name, bool& local)
{
    sockaddr_in peer{};
    sockaddr_in own{};
    socklen_t peerLength = sizeof peer;
    socklen_t ownLength = sizeof own;
    getpeername(connection, reinterpret_cast<sockaddr*>(&peer), &peerLength);
    getsockname(connection, reinterpret_cast<sockaddr*>(&own), &ownLength);
    local = IsLoopback(peer) || peer.sin_addr.s_addr == own.sin_addr.s_addr;

    char host[NI_MAXHOST] = "";
    if (getnameinfo(reinterpret_cast<sockaddr*>(&peer), peerLength, host, sizeof host, nullptr, 0,
                    0) != 0)
        inet_ntop(AF_INET, &peer.sin_addr, host, sizeof host);
    name = host;
    if (name.find_first_not_of("0123456789.") != std::string::npos)
        name = name.substr(0, name.find('.'));
}
