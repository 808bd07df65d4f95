#pragma once

// The one place where the core meets the platform's sockets headers: Winsock 2 on Windows,
// the BSD sockets of POSIX elsewhere. The rest of the core names only what is below.
#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#endif

#include <string>

#ifdef _WIN32
using SocketHandle = SOCKET;
constexpr SocketHandle SOCKET_HANDLE_NONE = INVALID_SOCKET;
// Winsock's own codes, which the finder's status texts show as the platform gives them.
constexpr int SOCKET_ERR_WOULD_BLOCK = WSAEWOULDBLOCK;
constexpr int SOCKET_ERR_MESSAGE_SIZE = WSAEMSGSIZE;
constexpr int SOCKET_ERR_ADDRESS_IN_USE = WSAEADDRINUSE;
constexpr int SOCKET_ERR_ACCESS_DENIED = WSAEACCES;
constexpr int SOCKET_ERR_NO_DESTINATION = WSAEDESTADDRREQ;
#else
using SocketHandle = int;
constexpr SocketHandle SOCKET_HANDLE_NONE = -1;
constexpr int SOCKET_ERR_WOULD_BLOCK = EAGAIN;
constexpr int SOCKET_ERR_MESSAGE_SIZE = EMSGSIZE;
constexpr int SOCKET_ERR_ADDRESS_IN_USE = EADDRINUSE;
constexpr int SOCKET_ERR_ACCESS_DENIED = EACCES;
constexpr int SOCKET_ERR_NO_DESTINATION = EDESTADDRREQ;
#endif

// What the platform says about one of the codes above or any other of its socket codes,
// for messages to a person ("Address already in use"); the status texts show the number.
std::string SocketErrorText(int code);
