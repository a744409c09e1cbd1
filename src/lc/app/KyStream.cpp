// The choice of the parameter stream, and the field-state seam of the
// streams.
#include "KyStream.h"

#include "KyAppContext.h"
#include "KyArgvStream.h"
#include "KyBlobFld.h"
#include "KyCharFld.h"
#include "KyOLEStream.h"
#include "KyRPCStream.h"

KyStream* KyCreateParameterStream(int iStartMode) {
  switch (iStartMode) {
    case 0:
    case 1:
      return new KyArgvStream;
    case 2: {
      KyAppContext* pContext = KyAppContext::Current();
      const int size = pContext ? pContext->m_lRPCBufferSize : 0;
      return new KyRPCStream(nullptr, 0, size, nullptr);
    }
    case 3:
      return new KyOLEStream;
    default:
      return nullptr;
  }
}

bool KyStreamSetFieldState(KyRTType& field, int iState) {
  // Field classes set their state through their own setter; the classes
  // that join later add themselves here.
  if (auto* pChar = dynamic_cast<KyCharFld*>(&field)) {
    pChar->SetFieldState(static_cast<short>(iState));
    return true;
  }
  if (auto* pBlob = dynamic_cast<KyBlobFld*>(&field)) {
    pBlob->SetFieldState(static_cast<short>(iState));
    return true;
  }
  return false;
}
