// IStream over a global memory block: the block grows as the stream is
// written past its end; the size of the stream is kept apart from the
// block's (which may be larger).
#include <objidl.h>
#include <windows.h>

#include <internal/comobject.h>
#include <cstring>

namespace {

class GlobalStream final : public IStream {
 public:
  GlobalStream(HGLOBAL block, bool owns, ULONGLONG size) : block_(block), owns_(owns), size_(size) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
    return win32::com::answerQuery(riid, ppv, {{&IID_IUnknown, this}, {&IID_ISequentialStream, this}, {&IID_IStream, this}});
  }
  KY_COM_REFCOUNT

  HRESULT STDMETHODCALLTYPE Read(void* pv, ULONG cb, ULONG* pcbRead) override {
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    const ULONGLONG n = position_ >= size_ ? 0 : std::min<ULONGLONG>(cb, size_ - position_);
    if (n) {
      const auto* data = static_cast<const BYTE*>(GlobalLock(block_));
      if (!data) return STG_E_READFAULT;
      std::memcpy(pv, data + position_, n);
      GlobalUnlock(block_);
    }
    position_ += n;
    if (pcbRead) *pcbRead = static_cast<ULONG>(n);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Write(const void* pv, ULONG cb, ULONG* pcbWritten) override {
    if (pcbWritten) *pcbWritten = 0;
    if (!pv && cb) return STG_E_INVALIDPOINTER;
    if (position_ + cb > size_ && FAILED(resize(position_ + cb))) return STG_E_MEDIUMFULL;
    if (cb) {
      auto* data = static_cast<BYTE*>(GlobalLock(block_));
      if (!data) return STG_E_WRITEFAULT;
      std::memcpy(data + position_, pv, cb);
      GlobalUnlock(block_);
    }
    position_ += cb;
    if (pcbWritten) *pcbWritten = cb;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override {
    LONGLONG base = 0;
    switch (origin) {
      case STREAM_SEEK_SET: base = 0; break;
      case STREAM_SEEK_CUR: base = static_cast<LONGLONG>(position_); break;
      case STREAM_SEEK_END: base = static_cast<LONGLONG>(size_); break;
      default: return STG_E_INVALIDFUNCTION;
    }
    const LONGLONG target = base + move.QuadPart;
    if (target < 0) return STG_E_INVALIDFUNCTION;
    position_ = static_cast<ULONGLONG>(target);
    if (newPosition) newPosition->QuadPart = position_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override { return resize(size.QuadPart); }
  HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER cb, ULARGE_INTEGER* pcbRead,
                                   ULARGE_INTEGER* pcbWritten) override {
    if (!target) return STG_E_INVALIDPOINTER;
    BYTE buffer[4096];
    ULONGLONG left = cb.QuadPart, read = 0, written = 0;
    while (left) {
      ULONG got = 0, put = 0;
      if (FAILED(Read(buffer, static_cast<ULONG>(std::min<ULONGLONG>(left, sizeof buffer)), &got)) || !got) break;
      read += got;
      const HRESULT hr = target->Write(buffer, got, &put);
      written += put;
      if (FAILED(hr)) return hr;
      left -= got;
    }
    if (pcbRead) pcbRead->QuadPart = read;
    if (pcbWritten) pcbWritten->QuadPart = written;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
  HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
    if (!stat) return STG_E_INVALIDPOINTER;
    *stat = STATSTG{};
    stat->type = STGTY_STREAM;
    stat->cbSize.QuadPart = size_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override {
    if (clone) *clone = nullptr;
    return E_NOTIMPL;
  }

  HGLOBAL block() const { return block_; }

 private:
  ~GlobalStream() {
    if (owns_) GlobalFree(block_);
  }
  HRESULT resize(ULONGLONG size) {
    if (size > 0x7FFFFFFF) return STG_E_MEDIUMFULL;
    if (size > GlobalSize(block_)) {
      HGLOBAL grown = GlobalReAlloc(block_, static_cast<SIZE_T>(std::max<ULONGLONG>(size, GlobalSize(block_) * 2)), GMEM_MOVEABLE);
      if (!grown) return E_OUTOFMEMORY;
      block_ = grown;
    }
    size_ = size;
    return S_OK;
  }

  win32::com::RefCount refs_;
  HGLOBAL block_;
  bool owns_;
  ULONGLONG size_;
  ULONGLONG position_ = 0;
};

}  // namespace

extern "C" HRESULT CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM* ppstm) {
  if (!ppstm) return E_INVALIDARG;
  *ppstm = nullptr;
  ULONGLONG size = 0;
  if (hGlobal) {
    size = GlobalSize(hGlobal);
  } else if (!(hGlobal = GlobalAlloc(GMEM_MOVEABLE, 0))) {
    return E_OUTOFMEMORY;
  }
  *ppstm = new GlobalStream(hGlobal, fDeleteOnRelease != FALSE, size);
  return S_OK;
}

extern "C" HRESULT GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL* phglobal) {
  if (!pstm || !phglobal) return E_INVALIDARG;
  // Only the layer's own streams have a block.
  IStream* stream = nullptr;
  if (FAILED(pstm->QueryInterface(IID_IStream, reinterpret_cast<void**>(&stream)))) return E_INVALIDARG;
  auto* global = dynamic_cast<GlobalStream*>(stream);
  *phglobal = global ? global->block() : nullptr;
  stream->Release();
  return global ? S_OK : E_INVALIDARG;
}
