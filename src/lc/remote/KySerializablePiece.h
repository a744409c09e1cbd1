// KySerializablePiece: one piece of a large object on the wire, written and
// read as a piece record of the byte-buffer stream.
#pragma once

#include <windows.h>

#include <vector>

class KyRPCStream;

class KySerializablePiece {
 public:
  explicit KySerializablePiece(DWORD dwCapacity = 0) { SetCapacity(dwCapacity); }

  // Clears the length and both totals.
  void Reset() {
    m_dwLength = 0;
    m_dwReceived = 0;
    m_dwSent = 0;
  }
  // Copies the bytes (refused, 0, above the capacity) and sets the length.
  int SetData(DWORD dwSize, const void* pBytes);
  void SetCapacity(DWORD dwCapacity);
  // Writes the piece (adding its length to the sent total) when the stream
  // writes, else reads it (adding to the received total). 1 or 0.
  int Serialize(KyRPCStream& stream, const char* pszName);

  DWORD GetCapacity() const { return static_cast<DWORD>(m_Buffer.size()); }
  DWORD GetLength() const { return m_dwLength; }
  const BYTE* GetBytes() const { return m_Buffer.data(); }
  DWORD GetReceived() const { return m_dwReceived; }
  DWORD GetSent() const { return m_dwSent; }

 private:
  friend class KyRPCStream;
  std::vector<BYTE> m_Buffer;
  DWORD m_dwLength = 0;
  DWORD m_dwReceived = 0;
  DWORD m_dwSent = 0;
};
