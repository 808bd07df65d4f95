#pragma once

// The worker's status line, in English in every language of the window: these are the
// words users quote when they ask for help. printf patterns take the system's error code;
// "%1" is filled by FillText.

constexpr char WORKER_STATUS_OK[] = "OK";
constexpr char WORKER_ERR_SOCKETS_LAYER[] = "ERR: WSAStartup() fail %d \n";
constexpr char WORKER_ERR_SOCKET[] = "ERR: socket() error! Errorcode =%d\n";
constexpr char WORKER_ERR_BIND[] = "ERR: bind() error! Errorcode =%d\n";
constexpr char WORKER_ERR_SEND[] = "ERR: sendto error! Errorcode =%d\n";
constexpr char WORKER_ERR_RECEIVE[] = "ERR: recv error! Errorcode =%d\n";
// One card of a send that failed on some: its name, then this.
constexpr char WORKER_CARD_ERROR[] = " (Errorcode =%d)";

// The cases of sending out of every card.
constexpr char SEARCH_ERR_NO_CARD[] =
    "ERR: no network card to search! None is up with an IPv4 address and broadcast\n";
constexpr char SEARCH_ERR_EVERY_CARD_FAILED[] = "ERR: sendto error on every network card! %1\n";
constexpr char SEARCH_PARTLY_SENT[] = "OK, but not sent on %1";
constexpr char SEARCH_ERR_CARD_GONE[] =
    "ERR: the network card %1 the camera answered on is gone! Press Update\n";
