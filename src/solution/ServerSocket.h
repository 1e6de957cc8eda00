// The TCP side of the worker connections: a listening socket on a port the
// system chooses, the bounded wait for one worker to connect, and who the
// peer of a connection is. The sockets are closed on exec, so that a worker
// never holds another worker's connection open.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

using Deadline = std::chrono::steady_clock::time_point;

enum class SocketStep { kCreate, kBind, kPort, kListen };

// A socket listening on every local address with a backlog of 5; -1 and the
// step that failed otherwise.
int OpenListeningSocket(std::uint16_t& port, SocketStep& failed);

enum class AcceptResult { kAccepted, kTimedOut, kSelectFailed, kAcceptFailed };

// Waits until `deadline` for a connection and accepts it. Interruptions by
// signals (ending workers) do not end the wait.
AcceptResult AcceptBefore(int server, Deadline deadline, int& connection);

// The peer's host name up to its first '.', or its address in numbers when
// the name cannot be found, and whether the peer runs on this machine.
void DescribePeer(int connection, std::string& name, bool& local);
