#include "KyRTFFileNames.h"

#include <strings.h>

#include <string>

void KyRTFFileNames::Complete(const char* pszPicture, KyString& strOutputPath) {
  std::string picture = pszPicture ? pszPicture : "";
  if (picture.empty()) return;
  // The directory goes first, so that a dot in a directory name is not
  // taken for the extension.
  size_t slash = picture.rfind('\\');
  if (slash != std::string::npos) picture.erase(0, slash + 1);
  size_t dot = picture.rfind('.');
  bool icon = dot != std::string::npos && strcasecmp(picture.c_str() + dot, ".ICO") == 0;
  if (dot != std::string::npos) picture.erase(dot);
  std::string path(static_cast<const char*>(strOutputPath));
  if (!path.empty()) path += '\\';
  path += picture;
  path += icon ? ".ICO" : ".BMP";
  for (char& c : path)
    if (c == '/') c = '\\';
  strOutputPath = path.c_str();
}
