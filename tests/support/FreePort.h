// A loopback TCP port free at the moment of asking: the kernel picks it for a socket that is
// closed again at once. Used to start a server on it, or as a port on which nothing listens.
#pragma once

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

inline int freeLoopbackPort() {
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
}
