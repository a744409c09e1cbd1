// A mail library that lacks most of Simple MAPI's entry points: the binding
// must refuse it.
#include <mapi.h>

extern "C" ULONG MAPILogon(ULONG_PTR, LPSTR, LPSTR, FLAGS, ULONG, LPLHANDLE lplhSession) {
  if (lplhSession) *lplhSession = 1;
  return SUCCESS_SUCCESS;
}
