// KyPrint: the report printing API of generated code. Commands go to the
// print device of the current report view; without a view, or before its
// device has a device context, they do nothing and the functions answer 0
// (Start, End, Setup, SetOrientation and Test work regardless).
#pragma once

#include <windows.h>

class KyPrint {
 public:
  enum Alignment { Left = 0, Right = 1, Centre = 2 };
  enum PrintMode { Dialog = 0, Direct = 1, Preview = 2 };

  static void Start();
  static void End();
  static void End(int iPrintMode);
  static void Setup();
  static void ChangeFont(const char* pszFace, int iSize);
  static void ChangeStyle(int fBold, int fItalic, int fUnderline, int fOutput);
  static void NewLine(int nLines);
  static void NewPage();
  static void SetAlignment(int iAlignment);
  static void SkipToHeader();
  static void SkipToOverFlow();
  // Formats printf-style (any length) and prints the text at x in a cell
  // of `width` twips (-1: no cell, the alignment does not apply).
  static void Printf(LONG x, LONG width, const char* pszFormat, ...);
  static void SetMargins(int top, int right, int bottom, int left);
  static void SetOrientation(int iOrientation);
  static void SetOverFlow(int height);
  static int FitLines(int nLines);
  static int IfOverFlow();
  static int GetPageNumber();
  // The test report: eight faces, sizes 8 to 17, pages with headers and
  // footers.
  static void Test();
};
