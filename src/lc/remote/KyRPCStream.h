// KyRPCStream: parameters in a byte buffer (a remote thread's call buffer,
// or a buffer of a remote call). Layout, which the peer reads as it is:
//
//   field slot:  16-bit state (little-endian), then the text in a slot of
//                the field's fixed length, zero-padded, not terminated
//                when it fills the slot;
//   large-object field ('b'): 16-bit state, 32-bit handle of its data;
//   piece record: 32-bit piece size, 32-bit data length, then the data in
//                a slot of piece-size bytes (the rest zero). A peer that
//                failed writes a text starting with "ERR" two bytes into
//                the record instead.
//
// Every read is bounded by the data end and every write by the capacity:
// a field or piece that does not fit is refused (result 0) and leaves the
// buffer and the field as they were.
#pragma once

#include <vector>

#include "KyStream.h"

class KySerializablePiece;

class KyRPCStream : public KyStream {
 public:
  // pBuffer null: the thread's remote-call buffer (its size is the
  // capacity); without that, an own buffer of iSize + iLength bytes.
  // iLength bytes of pInitial (when given) are copied in; the data ends
  // iLength bytes after the start (cut to the capacity).
  KyRPCStream(char* pBuffer, int iSize, int iLength, const char* pInitial);
  ~KyRPCStream() override = default;

  void BeginRead() override;
  int Get(const KyStreamField& field) override;
  int Put(const KyStreamField& field) override;
  char* GetData() override { return m_pStart; }
  char* GetDataEnd() override { return m_pStart + m_iDataEnd; }

  // The piece records of large objects.
  int WritePiece(const KySerializablePiece& piece);
  int ReadPiece(KySerializablePiece& piece);

  int GetPosition() const { return m_iPosition; }
  int GetCapacity() const { return m_iCapacity; }
  int GetFieldCount() const { return m_iFields; }
  int GetPieceCount() const { return m_iPieces; }

 protected:
  // Bytes left to read / room left to write from the position.
  int readable() const { return m_iDataEnd - m_iPosition; }
  int writable() const { return m_iCapacity - m_iPosition; }
  void advanceWritten(int iBytes);

  char* m_pStart = nullptr;
  int m_iCapacity = 0;
  int m_iDataEnd = 0;
  int m_iPosition = 0;
  int m_iFields = 0;
  int m_iPieces = 0;

 private:
  std::vector<char> m_Owned;
};
