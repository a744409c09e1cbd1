// The font cache: KyResourceServer owns the container of KyFontRef entries
// (one per font description), and hKyGetFont/KyReleaseFont count the uses of
// each font. An entry whose count drops to 0 deletes its font but stays in
// the cache, so the next request for the same description creates it again.
#pragma once

#include <windows.h>

#include <memory>

#include "KyCtr.h"
#include "KyString.h"

class KyFontRef : public KyCtrObj {
 public:
  explicit KyFontRef(const char* pszDescription) : m_strDescription(pszDescription) {}
  ~KyFontRef() override;

  KyFontRef(const KyFontRef&) = delete;
  KyFontRef& operator=(const KyFontRef&) = delete;

  ULONG m_ulCount = 0;
  HFONT m_hFont = nullptr;  // null until first use, or after the last release
  KyString m_strDescription;
};

class KyResourceServer {
 public:
  KyResourceServer();
  // Deletes every cached entry and its font.
  ~KyResourceServer();

  // One owner for the container: copying would give its entries two.
  KyResourceServer(const KyResourceServer&) = delete;
  KyResourceServer& operator=(const KyResourceServer&) = delete;

  KyCtr* GetContainer() { return m_pCtr.get(); }

 private:
  std::unique_ptr<KyCtr> m_pCtr;
};

// The font of a description "face, height, style letters" (height as a
// logical font height: negative for the character height in pixels; style
// letters B, I, U, S in any case). A null or empty description gives the
// stock variable-pitch font, uncached. Null when the font cannot be made.
HFONT hKyGetFont(const char* pszDescription);
// Drops one use of the cached font with that handle.
void KyReleaseFont(HFONT hFont);
