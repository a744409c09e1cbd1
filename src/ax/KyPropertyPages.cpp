#include "KyPropertyPages.h"

#include <set>

#include "KyActiveXControlImpl.h"
#include "KyPropertyString.h"
#include "axres.h"

namespace {

using PropertyString = KyActiveXControlImpl::KyPropertyString;

void describe(KyPropEntry& entry, const KyComInfo& member, const KyComDoc* controlDoc) {
  const KyComDoc* doc = member.GetDoc();
  const KyComDoc* help = doc && doc->HasHelp() ? doc : controlDoc;
  entry.m_description = doc && !doc->GetDescription().IsEmpty() ? doc->GetDescription()
                        : controlDoc                            ? controlDoc->GetDescription()
                                                                : CString();
  if (help) {
    entry.m_helpFile = help->m_helpFile;
    entry.m_helpContext = help->m_helpContext;
  }
}

}  // namespace

std::vector<CString> ax::SplitAtTabs(const char* text) {
  std::vector<CString> parts;
  CString rest(text);
  while (!rest.IsEmpty()) {
    const int tab = rest.Find('\t');
    const CString part = tab < 0 ? rest : rest.Left(tab);
    if (!part.IsEmpty()) parts.push_back(part);
    if (tab < 0) break;
    rest = rest.Mid(tab + 1);
  }
  return parts;
}

KyPropEntries ax::PropertyEntries(KyActiveXControlImpl& control) {
  KyPropEntries entries;
  if (!control.LoadTypeInfo()) return entries;
  std::set<CString> named;
  auto add = [&](const KyComProperty& member) {
    const CString name = member.GetName();
    if (name.IsEmpty() || name[0] == '_' || !member.IsVisibleProperty() || !named.insert(name).second) return;
    CString value;
    control.GetProperty(name, value);
    std::unique_ptr<KyPropEntry> entry = KyMakePropEntry(member.GetDataType(), name, value);
    entry->m_editable = !member.IsReadOnly();
    describe(*entry, member, control.m_doc.get());
    entries.push_back(std::move(entry));
  };
  for (const KyComMethodInfo* function : control.m_propertyFunctions) add(*function);
  for (const auto& variable : control.m_variables) add(*variable);
  return entries;
}

void ax::ApplyStoredProperties(KyPropEntries& entries, KyActiveXControlImpl& control, const char* propertyString) {
  PropertyString pairs;
  if (!pairs.Parse(propertyString)) return;
  for (int i = 0; i < pairs.GetCount(); ++i) {
    const CString name = pairs.GetName(i);
    for (auto& entry : entries) {
      if (entry->m_name != name) continue;
      entry->m_value = pairs.GetValue(i);
      entry->m_modified = TRUE;
      entry->m_error = !control.SetProperty(name, entry->m_value);
    }
  }
}

KyPropEntries ax::EventEntries(KyActiveXControlImpl& control, const char* logicalEvents, const char* eventMappings) {
  KyPropEntries entries;
  if (!control.LoadTypeInfo()) return entries;
  const std::vector<CString> choices = ax::SplitAtTabs(logicalEvents);
  for (const KyComMethodInfo* event : control.m_eventList) {
    auto entry = std::make_unique<KyPropEntry>(event->GetName(), "");
    for (const CString& choice : choices) entry->AddEnum(choice, choice);
    describe(*entry, *event, control.m_doc.get());
    entries.push_back(std::move(entry));
  }
  PropertyString pairs;
  if (pairs.Parse(eventMappings)) {
    for (int i = 0; i < pairs.GetCount(); ++i) {
      for (auto& entry : entries) {
        if (entry->m_name != pairs.GetName(i)) continue;
        entry->m_value = pairs.GetValue(i);
        entry->m_modified = TRUE;
      }
    }
  }
  return entries;
}

CString ax::ComposeEntries(const KyPropEntries& entries) {
  PropertyString composed;
  for (const auto& entry : entries) {
    if (entry->m_modified) composed.Append(entry->m_name, entry->m_value);
  }
  return composed.GetSource();
}

UINT ax::CheckNewLogicalEvent(const char* name, const char* allEvents) {
  const CString event(name ? name : "");
  if (event.IsEmpty()) return IDS_AX_EVENT_NAME_MISSING;
  for (const CString& known : SplitAtTabs(allEvents)) {
    if (known == event) return IDS_AX_EVENT_EXISTS;
  }
  return 0;
}

UINT ax::AddLogicalEvent(const char* name, CString& allEvents, CString* added, KyPropEntries& entries,
                         KyPropEntry* selected) {
  if (const UINT refusal = CheckNewLogicalEvent(name, allEvents)) return refusal;
  const CString event(name);
  allEvents += "\t" + event;
  if (added) *added += "\t" + event;
  for (auto& entry : entries) entry->AddEnum(event, event);
  if (selected) selected->SetValueText(event);
  return 0;
}
