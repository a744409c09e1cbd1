// File names of pictures written beside an RTF report.
#pragma once

#include "KyString.h"

class KyRTFFileNames {
 public:
  // Appends to the output path (with a backslash when it is not empty) the
  // picture's bare name with ".ICO" for icons and ".BMP" for anything else;
  // every '/' of the result becomes '\'. An empty picture name changes
  // nothing.
  static void Complete(const char* pszPicture, KyString& strOutputPath);
};
