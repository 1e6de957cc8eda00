// Whole messages over a stream socket, see SocketTransfer.h.
#include "foundation/SocketTransfer.h"

#include <sys/socket.h>

#include <cerrno>

namespace {

// Repeats a partial send or receive until the whole buffer has gone through;
// an interrupted call is retried, an error or a closed peer ends it.
template <typename Pointer, typename Transfer>
bool TransferAll(Pointer data, std::size_t size, Transfer transfer)
{
    while (size > 0) {
        ssize_t n = transfer(data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool SendAll(int connection, const char* data, std::size_t size)
{
    return TransferAll(data, size, [connection](const char* from, std::size_t bytes) {
        return send(connection, from, bytes, MSG_NOSIGNAL);
    });
}

bool ReceiveAll(int connection, char* data, std::size_t size)
{
    return TransferAll(data, size, [connection](char* into, std::size_t bytes) {
        return recv(connection, into, bytes, 0);
    });
}
