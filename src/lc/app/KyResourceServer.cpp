#include "KyResourceServer.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "KyAppContext.h"
#include "KyLocale.h"
#include "KyProgramInfo.h"

KyFontRef::~KyFontRef() {
  if (m_hFont) DeleteObject(m_hFont);
}

KyResourceServer::KyResourceServer() : m_pCtr(std::make_unique<KyCtr>()) {}

KyResourceServer::~KyResourceServer() { m_pCtr->Flush(1); }

namespace {

KyCtr& fontCache() { return *pKyGetProgramInfo()->m_ResourceServer.GetContainer(); }

BYTE threadCharSet() {
  KyAppContext* pContext = KyAppContext::Current();
  KyLocale* pLocale = pContext ? pContext->GetLocale() : nullptr;
  return pLocale ? static_cast<BYTE>(pLocale->GetCharSet()) : DEFAULT_CHARSET;
}

// "face, height, styles": the face is the text before the first comma; the
// height and the style letters follow, each after ", ".
HFONT createFont(std::string_view description) {
  LOGFONTA lf{};
  size_t comma = description.find(',');
  std::string_view face = description.substr(0, comma);
  std::string_view height, styles;
  if (comma != std::string_view::npos) {
    std::string_view rest = description.substr(comma + 1);
    size_t next = rest.find(',');
    height = rest.substr(0, next);
    if (next != std::string_view::npos) styles = rest.substr(next + 1);
  }
  std::string heightText(height);
  lf.lfHeight = std::strtol(heightText.c_str(), nullptr, 10);
  lf.lfWeight = FW_NORMAL;
  for (char c : styles) {
    switch (std::toupper(static_cast<unsigned char>(c))) {
      case 'B': lf.lfWeight = FW_BOLD; break;
      case 'I': lf.lfItalic = TRUE; break;
      case 'U': lf.lfUnderline = TRUE; break;
      case 'S': lf.lfStrikeOut = TRUE; break;
      default: break;
    }
  }
  lf.lfCharSet = threadCharSet();
  size_t n = std::min(face.size(), sizeof lf.lfFaceName - 1);
  std::memcpy(lf.lfFaceName, face.data(), n);
  return CreateFontIndirectA(&lf);
}

}  // namespace

HFONT hKyGetFont(const char* pszDescription) {
  if (!pszDescription || !*pszDescription) return static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  KyCtr& cache = fontCache();
  KyFontRef* pRef = nullptr;
  KyItr it(cache);
  while (it.fWalk()) {
    auto* pCandidate = static_cast<KyFontRef*>(it.pCurrent());
    if (std::strcmp(pCandidate->m_strDescription, pszDescription) == 0) {
      pRef = pCandidate;
      break;
    }
  }
  if (!pRef) {
    pRef = new KyFontRef(pszDescription);
    cache.pAdd(pRef);
  }
  if (!pRef->m_hFont) {
    pRef->m_hFont = createFont(pszDescription);
    if (!pRef->m_hFont) return nullptr;
  }
  ++pRef->m_ulCount;
  return pRef->m_hFont;
}

void KyReleaseFont(HFONT hFont) {
  if (!hFont) return;
  KyItr it(fontCache());
  while (it.fWalk()) {
    auto* pRef = static_cast<KyFontRef*>(it.pCurrent());
    if (pRef->m_hFont != hFont) continue;
    if (pRef->m_ulCount > 0 && --pRef->m_ulCount == 0) {
      DeleteObject(pRef->m_hFont);
      pRef->m_hFont = nullptr;
    }
    return;
  }
}
