// Elements of an RTF report: text with its character properties
// (KyRTFElem), a frame of it at a place on the page (KyRTFFrame), and a
// frame placed absolutely or in the flow, holding text or a picture
// (KyRTFXYFrame).
#pragma once

#include <afxwin.h>

#include <ostream>
#include <string>

class KyRTFFile;

enum eCharacterProperty { FontName = 0 };
enum eNumericProperty { FontSize = 0, Bold = 1, Italic = 2, Strike = 3, Underline = 4 };
enum eAlignment { AlignLeft = 0, AlignRight = 1, AlignCentre = 2 };

class KyRTFElem {
 public:
  enum Flags { FlagBold = 1, FlagItalic = 2, FlagStrike = 4, FlagUnderline = 8, FlagEmpty = 16 };

  explicit KyRTFElem(KyRTFFile* pFile = nullptr) : m_pFile(pFile) {}
  virtual ~KyRTFElem() = default;

  // Starts the element's property text anew ("{").
  virtual void Create();
  void AddText(const char* pszText);
  void SetCharProp(eCharacterProperty property, const char* pszValue);
  void SetNumProp(eNumericProperty property, short value);
  void SetFontSize(short points);

  KyRTFFile* m_pFile;
  std::string m_strProps = "{";
  std::string m_strPlain;
  std::string m_strAlign;
  int m_iLineHeight = 0;  // twips
  int m_iFontHeight = 0;  // screen pixels
  int m_fFlags = FlagEmpty;
  std::string m_strFace;
  BOOL m_fQuoteOpen = FALSE;  // the next '"' closes a quotation
};

class KyRTFFrame : public KyRTFElem {
 public:
  using KyRTFElem::KyRTFElem;
  int m_x = 0, m_y = 0, m_cx = 0, m_cy = 0;  // twips
};

class KyRTFXYFrame : public KyRTFFrame {
 public:
  using KyRTFFrame::KyRTFFrame;
  void SetAlignment(eAlignment alignment, int);
  // The frame shows the picture file (completed and searched when written).
  void SetPicture(const char* pszName);
  void SetPosition(CPoint point, int fAbsolute);
  void SetSize(CSize size);

  BOOL m_fAbsolute = FALSE;
  BOOL m_fPicture = FALSE;
};

// The frame's RTF: its alignment, position and size, then its text (or the
// picture field) as one paragraph.
std::ostream& operator<<(std::ostream& out, const KyRTFXYFrame& frame);
