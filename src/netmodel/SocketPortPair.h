// SocketPortPair: connects the port name of a sub-page to the socket place
// of the enclosing page; place references through the port are bound to the
// socket's header.
#pragma once

#include "foundation/Str.h"
#include "netmodel/Place.h"
#include "netmodel/Textual.h"

class SocketPortPair {
public:
    SocketPortPair() = default;
    SocketPortPair(Place* s, const Str& p) : socket(s), port(Textual::kText, p) {}
    SocketPortPair(const SocketPortPair& o) = default;
    SocketPortPair& operator=(const SocketPortPair& o) = default;

    const Textual& GetPort() const { return port; }
    Place* GetSocket() const { return socket; }
    void Clear() { socket = nullptr; }

    bool operator==(const SocketPortPair& o) const
    {
        return socket && o.socket && port == o.port && *socket == *o.socket;
    }
    bool operator!=(const SocketPortPair& o) const { return !(*this == o); }

private:
    Place* socket = nullptr;
    Textual port;
};
