// The host's side of WS2_32.DLL: POSIX sockets behind plain functions, so
// that the Winsock side (ws2_32.cpp) never sees the host's declarations of
// the same names. Addresses cross as Winsock-laid bytes (family 2 or 23);
// every failure answers -1 (or null) with the Winsock error code in *error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hostsock {

intptr_t Socket(int family, int type, int protocol, int* error);
int Close(intptr_t s, int* error);
int Connect(intptr_t s, const void* address, int length, int* error);
int Bind(intptr_t s, const void* address, int length, int* error);
int Listen(intptr_t s, int backlog, int* error);
// *length: in the room at address, out the Winsock address's size.
intptr_t Accept(intptr_t s, void* address, int* length, int* error);
int GetSockName(intptr_t s, void* address, int* length, int* error);
int Send(intptr_t s, const char* bytes, int length, int flags, int* error);
int Recv(intptr_t s, char* bytes, int length, int flags, int* error);
int SetNonBlocking(intptr_t s, bool on, int* error);
int BytesReadable(intptr_t s, uint32_t* count, int* error);
// level/option in Winsock's values; value as Winsock passes it.
int SetOption(intptr_t s, int level, int option, const char* value, int length, int* error);

// One socket of a select: which of read / write / exception it asks for,
// and which of them it has on return.
struct Wait {
  intptr_t socket;
  bool read, write, except;
  bool readable = false, writable = false, exceptional = false;
};
// timeoutMs < 0 waits without end. The number of ready sockets, or -1.
int Select(std::vector<Wait>& waits, long timeoutMs, int* error);

// One resolved address: Winsock-laid sockaddr bytes and the triple.
struct Resolved {
  int family, type, protocol;
  std::vector<uint8_t> address;
  std::string canonicalName;
};
// 0 or a Winsock error code (the getaddrinfo results).
int Resolve(const char* node, const char* service, int flags, int family, int type, int protocol,
            std::vector<Resolved>* out);
int HostName(std::string* name, int* error);
// The service's port in network byte order and its protocol; false when
// unknown.
bool Service(const char* name, const char* protocol, uint16_t* port, std::string* actualProtocol);

}  // namespace hostsock
