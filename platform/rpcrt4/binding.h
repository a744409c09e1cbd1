// Binding handles of RPCRT4.DLL and the framing of requests and responses
// on a connection (shared by the client routines and the server).
//
//   request:  "KYRQ", 32-bit body length, 16-bit procedure number, 16-bit
//             zero, the interface UUID (16 bytes) and version (16-bit major,
//             minor), 32-bit data representation, then the body;
//   response: "KYRS", 32-bit body length, 32-bit status (0, or the fault),
//             32-bit data representation, then the body.
// Numbers are little-endian; a body over 64 MB is refused.
#pragma once

#include <rpc.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace rpcrt4 {

inline constexpr uint32_t kMaxBody = 64u << 20;
inline constexpr size_t kRequestHeader = 36, kResponseHeader = 16;

struct Binding {
  static constexpr uint32_t kMagic = 0x4B594248;  // tells a live handle from anything else
  uint32_t magic = kMagic;
  std::string objectUuid, protseq, address, endpoint, options;
  unsigned long timeoutMs = 0;  // 0: a call waits without end
  int fd = -1;                  // the connection, made by the first call
  std::string pending;          // bytes read ahead on it
  ~Binding();
};

// The binding behind a handle; null for anything that is not one.
Binding* bindingOf(RPC_BINDING_HANDLE handle);
// The parts of a string binding "[uuid@]protseq:address[endpoint,options]".
RPC_STATUS parseStringBinding(const char* text, Binding* parts);
std::string composeStringBinding(const Binding& parts);
// Whether the protocol sequence is one this layer carries.
bool supportedProtseq(const std::string& protseq);
// The local socket path of a pipe endpoint ("\pipe\name").
std::string pipePath(const std::string& endpoint);
// Whether a named-pipe network address names this machine.
bool localPipeHost(const std::string& address);

// Every wait of a send or a receive on the descriptor ends after the time
// (0: none): SO_SNDTIMEO and SO_RCVTIMEO.
void setWaitLimit(int fd, unsigned long timeoutMs);
// Sends the whole buffer; false when the peer closed, an error came or a
// wait ran out.
bool sendAll(int fd, const void* bytes, size_t length);
// Receives exactly length bytes, taking bytes read ahead first and reading
// ahead what else has come (so that a message usually takes one read).
// keepWaiting is asked when a wait ran out: true waits again.
template <class KeepWaiting>
bool receiveAll(int fd, std::string& pending, void* bytes, size_t length, KeepWaiting keepWaiting);
bool receiveAll(int fd, std::string& pending, void* bytes, size_t length);

// One read into the read-ahead; 1 with bytes, 0 when the peer closed, -1
// when the wait ran out, -2 on an error.
int readAhead(int fd, std::string& pending);

template <class KeepWaiting>
bool receiveAll(int fd, std::string& pending, void* bytes, size_t length, KeepWaiting keepWaiting) {
  auto* p = static_cast<unsigned char*>(bytes);
  while (length > 0) {
    if (pending.empty()) {
      const int got = readAhead(fd, pending);
      if (got == -1 && keepWaiting()) continue;
      if (got <= 0) return false;
    }
    const size_t take = pending.size() < length ? pending.size() : length;
    std::memcpy(p, pending.data(), take);
    pending.erase(0, take);
    p += take;
    length -= take;
  }
  return true;
}

void put16(unsigned char* p, uint16_t v);
void put32(unsigned char* p, uint32_t v);
uint16_t get16(const unsigned char* p);
uint32_t get32(const unsigned char* p);

// One call on the binding's connection (made on first use): the request
// goes out, the response's status and body come back. A transport failure
// closes the connection (the next call connects anew).
RPC_STATUS transact(Binding& binding, const RPC_SYNTAX_IDENTIFIER& interfaceId, unsigned procNum,
                    const unsigned char* body, size_t length, std::vector<unsigned char>* reply);

}  // namespace rpcrt4
