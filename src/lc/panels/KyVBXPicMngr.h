// Pictures of VBX controls: one per file name, loaded once (only .BMP and
// .DIB files, as device-independent bitmaps with palette) and given a
// picture handle of the VBX library; all go with the manager.
#pragma once

#include <vbxemul.h>

#include "KyString.h"
#include "KyWinPic.h"

#include <map>
#include <memory>

class KyVBXPic : public KyWinPic {
 public:
  KyVBXPic() = default;
  // Releases the library's picture.
  ~KyVBXPic() override;
  KyVBXPic(const KyVBXPic&) = delete;
  KyVBXPic& operator=(const KyVBXPic&) = delete;
  HPIC GetVBXHandle() const { return m_hPic; }
  void SetVBXHandle(HPIC hPic) { m_hPic = hPic; }

 private:
  HPIC m_hPic = nullptr;
};

class KyVBXPicMngr {
 public:
  KyVBXPicMngr() = default;
  ~KyVBXPicMngr();
  KyVBXPicMngr(const KyVBXPicMngr&) = delete;
  KyVBXPicMngr& operator=(const KyVBXPicMngr&) = delete;
  // The picture of the file, made on first use; null when the file is not
  // a loadable bitmap or the library refused it.
  KyVBXPic* GetPicture(const char* pszFile);
  size_t GetCount() const { return m_Pictures.size(); }

 private:
  std::map<KyString, std::unique_ptr<KyVBXPic>> m_Pictures;
};
