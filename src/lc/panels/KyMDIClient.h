// CMDIClient: the MDI frame panel's client window, subclassed to show the
// run option "MDI Background Text" behind the children: a picture when the
// text is '@' and a file name, else the text centred in a large bold font
// ('^' breaks the line), over the MDI frame panel's colour.
#pragma once

#include <afxwin.h>

#include <memory>
#include <string>

#include "KyPicture.h"

class KyPanel;

class CMDIClient : public CWnd {
 public:
  // The text is read now; the font's face is the language library's
  // string 57376.
  CMDIClient(KyPanel* pPanel, HINSTANCE hLanguage);
  ~CMDIClient() override;
  BOOL Attach(HWND hClient) { return SubclassWindow(hClient); }

  // What the option asks for: the picture's name without the '@', or the
  // text with line breaks.
  static bool IsPictureText(const char* pszOption) { return pszOption && pszOption[0] == '@'; }
  static std::string DisplayText(const char* pszOption);
  const std::string& GetText() const { return m_Text; }
  const KyPicture* GetPicture() const { return m_pPicture.get(); }

 protected:
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void paint(HDC hdc);

  KyPanel* m_pPanel;
  std::string m_Text;
  std::unique_ptr<KyPicture> m_pPicture;
  HFONT m_hFont = nullptr;
  RECT m_LastClient{-1, -1, -1, -1};
};
