// Whole messages over a stream socket: partial transfers are continued and
// interrupted calls retried.
#pragma once

#include <cstddef>

// Writes all bytes with `send`, going on after partial writes; false when the
// connection is broken. A vanished reader does not raise SIGPIPE.
bool SendAll(int connection, const char* data, std::size_t size);
// Reads exactly `size` bytes; false at the end of the stream or on an error.
bool ReceiveAll(int connection, char* data, std::size_t size);
