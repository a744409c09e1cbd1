// KyRPG400Stream: fields of an RPG program's parameter image.
#include "KyRPG400Stream.h"

#include <algorithm>

KyAssignFrom400Proc& KyGetAssignFrom400() {
  static KyAssignFrom400Proc convert = nullptr;
  return convert;
}

int KyRPG400Stream::Get(const KyStreamField& field) {
  if (field.cVarClass == 'I' || !field.pField || !m_pStart) return 0;
  KyAssignFrom400Proc convert = KyGetAssignFrom400();
  if (!convert) return 0;
  const int used = convert(field.pField, field.cType, m_pStart + m_iPosition, readable(), m_pszTypeTable, m_iFields);
  if (used < 0 || used > readable()) return 0;
  int extra = field.cType == 'd' || field.cType == 't' ? 2 : field.cType == 'z' ? 6 : 0;
  m_iPosition += used;
  m_iPosition += std::min(extra, readable());
  ++m_iFields;
  return 1;
}
