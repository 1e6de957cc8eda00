// Whole messages over a stream socket, see SocketTransfer.h.
#include "foundation/SocketTransfer.h"

#include <sys/socket.h>

#include <cerrno>

bool SendAll(int connection, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = send(connection, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool ReceiveAll(int connection, char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = recv(connection, data, size, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}
