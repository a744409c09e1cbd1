// MAPIResolveName, MAPIAddress, MAPIDetails and MAPIFreeBuffer: names
// resolved in the store's address book; the address-book and details
// dialogs answered from the user script (details shown as a message box).
#include "addressbook.h"
#include "mapibuffer.h"
#include "mapisession.h"

#include <windows.h>

using namespace mapi32;

extern "C" ULONG MAPIResolveName(LHANDLE lhSession, ULONG_PTR, LPSTR lpszName, FLAGS, ULONG,
                                 lpMapiRecipDesc FAR* lppRecip) {
  if (!lppRecip) return MAPI_E_FAILURE;
  *lppRecip = nullptr;
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store = sessionStore(lhSession, true, code);
  if (!store) return code;
  const Resolution resolution = resolveName(store->root(), lpszName ? lpszName : "");
  if (resolution.code != SUCCESS_SUCCESS) return resolution.code;
  auto block = std::make_unique<BufferBlock>();
  MapiRecipDesc* recipient = block->array<MapiRecipDesc>(1);
  fillRecipient(*block, *recipient, resolution.address, MAPI_TO);
  *lppRecip = static_cast<lpMapiRecipDesc>(publishBuffer(recipient, std::move(block)));
  return SUCCESS_SUCCESS;
}

extern "C" ULONG MAPIAddress(LHANDLE lhSession, ULONG_PTR, LPSTR lpszCaption, ULONG nEditFields, LPSTR, ULONG nRecips,
                             lpMapiRecipDesc lpRecips, FLAGS, ULONG, ULONG FAR* lpnNewRecips,
                             lpMapiRecipDesc FAR* lppNewRecips) {
  if (!lpnNewRecips || !lppNewRecips) return MAPI_E_FAILURE;
  *lpnNewRecips = 0;
  *lppNewRecips = nullptr;
  if (nEditFields > 4) return MAPI_E_INVALID_EDITFIELDS;
  if (nRecips && !lpRecips) return MAPI_E_INVALID_RECIPS;
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store = sessionStore(lhSession, true, code);
  if (!store) return code;
  auto added = answerDialog(std::string("address book \"") + (lpszCaption ? lpszCaption : "Address Book") + "\"");
  if (!added) return MAPI_E_USER_ABORT;
  if (nEditFields == 0) return SUCCESS_SUCCESS;  // browsing only
  std::vector<std::pair<MailAddress, ULONG>> chosen;
  for (ULONG i = 0; i < nRecips; ++i) {
    MailAddress address;
    if ((code = recipientAddress(store->root(), lpRecips[i], address)) != SUCCESS_SUCCESS) return code;
    chosen.emplace_back(address, lpRecips[i].ulRecipClass);
  }
  for (const std::string& name : *added) {
    const Resolution resolution = resolveName(store->root(), name);
    if (resolution.code != SUCCESS_SUCCESS) return resolution.code;
    chosen.emplace_back(resolution.address, MAPI_TO);
  }
  if (chosen.empty()) return SUCCESS_SUCCESS;
  auto block = std::make_unique<BufferBlock>();
  MapiRecipDesc* list = block->array<MapiRecipDesc>(chosen.size());
  for (size_t i = 0; i < chosen.size(); ++i) fillRecipient(*block, list[i], chosen[i].first, chosen[i].second);
  *lpnNewRecips = static_cast<ULONG>(chosen.size());
  *lppNewRecips = static_cast<lpMapiRecipDesc>(publishBuffer(list, std::move(block)));
  return SUCCESS_SUCCESS;
}

extern "C" ULONG MAPIDetails(LHANDLE lhSession, ULONG_PTR ulUIParam, lpMapiRecipDesc lpRecip, FLAGS, ULONG) {
  if (!lpRecip) return MAPI_E_FAILURE;
  ULONG code = SUCCESS_SUCCESS;
  std::optional<MailStore> store = sessionStore(lhSession, true, code);
  if (!store) return code;
  MailAddress address;
  if ((code = recipientAddress(store->root(), *lpRecip, address)) != SUCCESS_SUCCESS) return code;
  const std::string text = "Name: " + address.name + "\nAddress: " + address.address;
  MessageBoxA(reinterpret_cast<HWND>(ulUIParam), text.c_str(), "Details", MB_OK | MB_ICONINFORMATION);
  return SUCCESS_SUCCESS;
}

extern "C" ULONG MAPIFreeBuffer(LPVOID pv) {
  if (!pv) return SUCCESS_SUCCESS;
  return freeBuffer(pv) ? SUCCESS_SUCCESS : MAPI_E_FAILURE;
}
