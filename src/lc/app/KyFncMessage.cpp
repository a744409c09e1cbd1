// Checked formatting of message texts and their box.
#include "KyFncMessage.h"

#include "KyApp.h"
#include "KyMessage.h"

namespace {

const char* resourceString(UINT nId) {
  KyApp* pApp = KyApp::GetApp();
  return pApp ? pApp->pszGetResourceString(nId) : "";
}

}  // namespace

KyString KyFormatMessageText(const char* pszFormat, std::initializer_list<KyMessageArg> args) {
  KyString result;
  if (!pszFormat) return result;
  const KyMessageArg* next = args.begin();
  const char* p = pszFormat;
  while (*p) {
    if (*p != '%') {
      const char* run = p;
      while (*p && *p != '%') ++p;
      result.AppendCString(CString(run, static_cast<int>(p - run)));
      continue;
    }
    if (p[1] == '%') {
      result += '%';
      p += 2;
      continue;
    }
    // One directive: flags, digits, an optional precision, the conversion.
    const char* start = p++;
    while (*p && std::strchr("-+ #0", *p)) ++p;
    int digits = 0;
    while (*p >= '0' && *p <= '9' && digits < 3) ++p, ++digits;
    if (*p == '.') {
      ++p;
      digits = 0;
      while (*p >= '0' && *p <= '9' && digits < 3) ++p, ++digits;
    }
    const char conversion = *p;
    const bool textKind = conversion == 's';
    const bool numberKind = conversion && std::strchr("diuxXc", conversion);
    if (conversion) ++p;
    const CString directive(start, static_cast<int>(p - start));
    if (next == args.end() || !(textKind || numberKind) || textKind == next->isNumber) {
      result.AppendCString(directive);  // left as written: see the header
      if (next != args.end() && (textKind || numberKind)) ++next;
      continue;
    }
    if (textKind)
      result.AppendFormat(directive, next->text);
    else
      result.AppendFormat(directive, next->number);
    ++next;
  }
  return result;
}

KyString KyFormatMessageId(UINT nId, std::initializer_list<KyMessageArg> args) {
  return KyFormatMessageText(resourceString(nId), args);
}

int KyShowMessageBox(const char* pszText, UINT nStyle) {
  // Through the run-time's message box: owner, title and "Always Log" rules.
  return KyMessage::Box(nStyle, "%s", pszText ? pszText : "");
}
