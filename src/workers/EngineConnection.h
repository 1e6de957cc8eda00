// The worker's TCP connection back to the engine: connecting with a time
// limit, reading the data stream through a buffer (with a time limit on
// silence, so a stalled engine cannot hang the worker), and sending text
// lines.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "workers/StreamDecoder.h"

class EngineConnection : public ByteSource {
public:
    EngineConnection() = default;
    EngineConnection(const EngineConnection&) = delete;
    EngineConnection& operator=(const EngineConnection&) = delete;
    ~EngineConnection() override { Close(); }

    bool Connect(const std::string& host, const std::string& port, std::string& error);
    bool Read(void* data, std::size_t size, std::string& error) override;
    // Sends `line` and a line end.
    bool SendLine(const std::string& line, std::string& error);
    // Discards what the engine still sends, until it pauses for a second
    // (at most ten seconds), so that closing early does not break its writing.
    void Drain();
    void Close();
    bool IsOpen() const { return socket >= 0; }

private:
    int socket = -1;
    std::vector<char> buffer = std::vector<char>(1 << 16);
    std::size_t begin = 0;
    std::size_t end = 0;
};
