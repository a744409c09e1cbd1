// KyControlAPI's control properties: the named control's window of the
// current panel, offered as "GetProperty" / "SetProperty" to the thread's
// property atom providers.
#include "KyAtomInterface.h"
#include "KyRTType.h"
#include "KyStaticAPI.h"

namespace {

KyString textOf(const KyRTType* pField) { return pField ? KyString(pField->strGetText()) : KyString(); }

}  // namespace

int KyControlAPI::GetProperty(KyRTType* pControl, KyRTType* pProperty, KyRTType* pValue, KyRTType* pValue2) {
  const KyString property = textOf(pProperty);
  HWND hWnd = pControl ? KyPanelAPI::GetControlHandleByName(textOf(pControl)) : nullptr;
  KyAtomInterface* pAtoms = KyAtomInterface::Current();
  if (!hWnd || property.IsEmpty() || !pAtoms) return 0;
  KyString value1, value2;
  const int result = pAtoms->GetControlProperty(hWnd, property, value1, value2);
  if (pValue) pValue->PutText(value1);
  if (pValue2) pValue2->PutText(value2);
  return result;
}

int KyControlAPI::SetProperty(KyRTType* pControl, KyRTType* pProperty, KyRTType* pValue1, KyRTType* pValue2,
                              KyRTType* pValue3, KyRTType* pValue4, KyRTType* pValue5) {
  const KyString property = textOf(pProperty);
  HWND hWnd = pControl ? KyPanelAPI::GetControlHandleByName(textOf(pControl)) : nullptr;
  KyAtomInterface* pAtoms = KyAtomInterface::Current();
  if (!hWnd || property.IsEmpty() || !pAtoms) return 0;
  const KyString texts[5] = {textOf(pValue1), textOf(pValue2), textOf(pValue3), textOf(pValue4), textOf(pValue5)};
  const char* values[5] = {texts[0], texts[1], texts[2], texts[3], texts[4]};
  return pAtoms->SetControlProperty(hWnd, property, values);
}
