// Qualified design names with the stepping of dimension marks, and the
// data lengths of a variable.
#include "KyRTDIQualName.h"

#include "KyFunctionData.h"
#include "KyVariable.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

namespace {

// One dimension mark "[|N]".
struct Mark {
  int begin;  // the '['
  int bar;    // the '|'
  int end;    // one beyond the ']'
  WORD size;
};

// The first kMaxDimensions marks of the name. Anything between '[' and ']'
// that is not '|' and a size of 1 to 65535 is no mark.
std::vector<Mark> findMarks(const char* name, int length) {
  std::vector<Mark> marks;
  for (int i = 0; i + 1 < length && static_cast<int>(marks.size()) < KyRTDIFieldDataBlock::kMaxDimensions; ++i) {
    if (name[i] != '[' || name[i + 1] != '|') continue;
    int j = i + 2;
    long size = 0;
    while (j < length && name[j] >= '0' && name[j] <= '9' && size <= 0xFFFF) size = size * 10 + (name[j++] - '0');
    if (j == i + 2 || j >= length || name[j] != ']' || size < 1 || size > 0xFFFF) continue;
    marks.push_back({i, i + 1, j + 1, static_cast<WORD>(size)});
    i = j;
  }
  return marks;
}

void appendRange(KyString& out, const char* text, int begin, int end) {
  if (end > begin) out += CString(text + begin, end - begin);
}

const char* answer(CString& out, const KyString& text) {
  out = text;
  return out;
}

// The variable's design name with its bracketed occurrence.
KyString variableName(const KyRTDIFncVarMap& map) {
  KyString name(map.m_pVar && map.m_pVar->m_pszDesignName ? map.m_pVar->m_pszDesignName : "");
  if (map.m_pVar && map.m_pVar->m_wOccurrences) name.AppendFormat("[%u]", static_cast<unsigned>(map.m_wOccurrence) + 1);
  return name;
}

const KyRTDIFncVarMap* findMap(KyVariable* pVariable) {
  if (!pVariable || !pVariable->m_pOwner) return nullptr;
  KyRTDIArray<KyRTDIFncVarMap>* maps = pVariable->m_pOwner->GetFunctionVariableTable();
  for (int i = 0; maps && i < maps->GetCount(); ++i)
    if (const KyRTDIFncVarMap* map = maps->At(i); map && map->m_pVariable == pVariable) return map;
  return nullptr;
}

// Sums a length of every field record of the variable, times the
// occurrences, saturated at LONG_MAX.
template <class Length>
LONG sumFields(KyVariable* pVariable, Length length) {
  if (!pVariable) return 0;
  long long sum = 0;
  KyRTDIArray<KyRTDIVarFldMap>* fields = pVariable->GetRTDIFldArray();
  for (int i = 0; i < fields->GetCount(); ++i)
    if (const KyRTDIVarFldMap* map = fields->At(i); map && map->m_pFld) sum += length(*map->m_pFld);
  const KyRTDIFncVarMap* own = findMap(pVariable);
  if (own && own->m_pVar && own->m_pVar->m_wOccurrences) sum *= own->m_pVar->m_wOccurrences;
  return static_cast<LONG>(std::min<long long>(sum, LONG_MAX));
}

}  // namespace

KyString KyRTDIStepFieldName(const char* pszPrefix, const char* pszFieldName, KyRTDIFieldDataBlock& block) {
  const char* field = pszFieldName ? pszFieldName : "";
  const int length = static_cast<int>(std::strlen(field));
  KyString name(pszPrefix);
  const std::vector<Mark> marks = findMarks(field, length);
  if (marks.empty()) {
    name += field;
    block.strBase = name;
    return name;
  }

  const Mark& last = marks.back();
  KyString base(name);
  appendRange(base, field, 0, last.begin);
  KyString suffix;
  appendRange(suffix, field, last.end, length);
  if (base != block.strBase || block.wDimensions != marks.size()) {
    // A new name: every index starts at 1, the sizes come from the marks.
    block.strBase = base;
    block.strSuffix = suffix;
    block.wDimensions = static_cast<WORD>(marks.size());
    for (size_t d = 0; d < marks.size(); ++d) {
      block.wIndex[d] = 1;
      block.wSize[d] = marks[d].size;
    }
  }

  int from = 0;
  for (size_t d = 0; d < marks.size(); ++d) {
    appendRange(name, field, from, marks[d].bar);
    name.AppendFormat("%u ", static_cast<unsigned>(block.wIndex[d]));
    from = marks[d].bar;
  }
  appendRange(name, field, from, length);

  // The next element: the last index moves on and carries into the ones
  // before it; after the last element all start again at 1.
  if (block.strSuffix.IsEmpty() || block.strSuffix == suffix) {
    ++block.wIndex[block.wDimensions - 1];
    for (int d = block.wDimensions - 1; d >= 0 && block.wIndex[d] > block.wSize[d]; --d) {
      block.wIndex[d] = 1;
      if (d > 0) ++block.wIndex[d - 1];
    }
  }
  return name;
}

const char* KyRTDIGetQualDesignName(const KyRTDIFncVarMap& map, CString& out) {
  KyString name;
  if (map.m_pVariable && map.m_pVariable->m_pOwner) name = map.m_pVariable->m_pOwner->GetFunctionName();
  name += ".";
  name += variableName(map);
  return answer(out, name);
}

const char* KyRTDIGetQualDesignName(const KyRTDIVarFldMap& field, const KyRTDIFncVarMap& map, CString& out,
                                    KyRTDIFieldDataBlock* pBlock) {
  KyString prefix = variableName(map);
  prefix += ".";
  KyRTDIFieldDataBlock scratch;
  const char* fieldName = field.m_pFld ? field.m_pFld->m_pszDesignName : nullptr;
  return answer(out, KyRTDIStepFieldName(prefix, fieldName, pBlock ? *pBlock : scratch));
}

const char* KyRTDIGetQualDesignName(const KyRTDIVarFldMap& field, KyVariable* pVariable, CString& out,
                                    KyRTDIFieldDataBlock* pBlock) {
  const KyRTDIFncVarMap* map = findMap(pVariable);
  if (!map) return answer(out, KyString("*NOT FOUND"));
  return KyRTDIGetQualDesignName(field, *map, out, pBlock);
}

LONG KyRTDIGetVarDataLength(KyVariable* pVariable, BOOL fExtraBytes) {
  return sumFields(pVariable, [fExtraBytes](const KyRTDIFld& fld) { return fld.m_wDisplayLength + (fExtraBytes ? 2 : 0); });
}

LONG KyRTDIGetVarSecondLength(KyVariable* pVariable) {
  return sumFields(pVariable, [](const KyRTDIFld& fld) { return static_cast<int>(fld.m_wLength2); });
}
