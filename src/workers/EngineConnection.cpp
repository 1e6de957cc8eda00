// POSIX sockets: non-blocking connect under poll, buffered reads under poll.
#include "workers/EngineConnection.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>

namespace {

constexpr int kConnectSeconds = 20;
constexpr int kSilenceSeconds = 120;

// Waits for the socket to become ready; false on time-out or error.
bool WaitFor(int socket, short events, int seconds, std::string& error)
{
    pollfd p{socket, events, 0};
    for (;;) {
        const int n = poll(&p, 1, seconds * 1000);
        if (n > 0) return true;
        if (n == 0) {
            error = "nothing happened for " + std::to_string(seconds) + " seconds";
            return false;
        }
        if (errno != EINTR) {
            error = std::string("poll: ") + std::strerror(errno);
            return false;
        }
    }
}

int ConnectTo(const addrinfo& address, std::string& error)
{
    const int s = socket(address.ai_family, address.ai_socktype, address.ai_protocol);
    if (s < 0) {
        error = std::strerror(errno);
        return -1;
    }
    const int flags = fcntl(s, F_GETFL, 0);
    fcntl(s, F_SETFL, flags | O_NONBLOCK);
    int status = connect(s, address.ai_addr, address.ai_addrlen);
    if (status != 0 && errno == EINPROGRESS && WaitFor(s, POLLOUT, kConnectSeconds, error)) {
        int pending = 0;
        socklen_t length = sizeof pending;
        getsockopt(s, SOL_SOCKET, SO_ERROR, &pending, &length);
        errno = pending;
        status = pending == 0 ? 0 : -1;
    }
    if (status != 0) {
        if (error.empty()) error = std::strerror(errno);
        close(s);
        return -1;
    }
    fcntl(s, F_SETFL, flags);
    return s;
}

}  // namespace

bool EngineConnection::Connect(const std::string& host, const std::string& port, std::string& error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* list = nullptr;
    const int status = getaddrinfo(host.c_str(), port.c_str(), &hints, &list);
    if (status != 0) {
        error = "can't find host " + host + ": " + gai_strerror(status);
        return false;
    }
    std::string reason;
    for (addrinfo* a = list; a && socket < 0; a = a->ai_next) {
        reason.clear();
        socket = ConnectTo(*a, reason);
    }
    freeaddrinfo(list);
    if (socket < 0) {
        error = "can't connect to " + host + " port " + port + ": " + reason;
        return false;
    }
    return true;
}

bool EngineConnection::Read(void* data, std::size_t size, std::string& error)
{
    char* out = static_cast<char*>(data);
    while (size > 0) {
        if (begin == end) {
            std::string reason;
            if (!WaitFor(socket, POLLIN, kSilenceSeconds, reason)) {
                error = "waiting for data from the engine: " + reason;
                return false;
            }
            const ssize_t n = recv(socket, buffer.data(), buffer.size(), 0);
            if (n == 0) {
                error = "the engine closed the connection before the data was complete";
                return false;
            }
            if (n < 0) {
                if (errno == EINTR) continue;
                error = std::string("reading from the engine: ") + std::strerror(errno);
                return false;
            }
            begin = 0;
            end = static_cast<std::size_t>(n);
        }
        const std::size_t chunk = std::min(size, end - begin);
        std::memcpy(out, buffer.data() + begin, chunk);
        begin += chunk;
        out += chunk;
        size -= chunk;
    }
    return true;
}

bool EngineConnection::SendLine(const std::string& line, std::string& error)
{
    const std::string text = line + "\n";
    std::size_t sent = 0;
    while (sent < text.size()) {
        const ssize_t n = send(socket, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = std::string("writing to the engine: ") + std::strerror(errno);
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

void EngineConnection::Drain()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (socket >= 0 && std::chrono::steady_clock::now() < deadline) {
        std::string ignored;
        if (!WaitFor(socket, POLLIN, 1, ignored)) return;
        if (recv(socket, buffer.data(), buffer.size(), 0) <= 0) return;
    }
}

void EngineConnection::Close()
{
    if (socket >= 0) close(socket);
    socket = -1;
}
