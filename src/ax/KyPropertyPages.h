// What the Properties and Event Mappings pages of the property sheet edit:
// the entries they list for a control, the stored strings applied to the
// entries when a page opens, the strings composed again at OK, and the
// logical events added while the sheet is open.
#pragma once

#include <afx.h>

#include <memory>
#include <vector>

#include "KyPropEntry.h"

class KyActiveXControlImpl;

using KyPropEntries = std::vector<std::unique_ptr<KyPropEntry>>;

namespace ax {

// One entry per property function and then per variable, in the order of
// the type information, without hidden members and names beginning with
// "_"; a property's get and put give one entry. Values are the control's
// properties read as text; descriptions and help fall back to the
// control's.
AFX_EXT_CLASS KyPropEntries PropertyEntries(KyActiveXControlImpl& control);
// Each pair of the property string whose name is an entry's (case-
// sensitive) makes the entry modified with that value and sets it on the
// control; the entry's error flag records a refusal.
AFX_EXT_CLASS void ApplyStoredProperties(KyPropEntries& entries, KyActiveXControlImpl& control,
                                         const char* propertyString);
// One entry per event of the control's source interface, empty, with the
// logical events (tab-separated) as its choices; the event mapping string's
// pairs set the matching entries' values.
AFX_EXT_CLASS KyPropEntries EventEntries(KyActiveXControlImpl& control, const char* logicalEvents,
                                         const char* eventMappings);
// The modified entries as name=value pairs, in list order.
AFX_EXT_CLASS CString ComposeEntries(const KyPropEntries& entries);

// The parts of a tab-separated list, empty parts left out.
AFX_EXT_CLASS std::vector<CString> SplitAtTabs(const char* text);
// 0 when `name` may be a new logical event, else the id of the text that
// refuses it (empty, or already one of allEvents, compared exactly).
AFX_EXT_CLASS UINT CheckNewLogicalEvent(const char* name, const char* allEvents);

// "New Event": 0 when the name was taken (appended after a tab to both
// lists, offered by every entry and made the selected entry's value), else
// the id of the text that refuses it (empty, or already a logical event).
AFX_EXT_CLASS UINT AddLogicalEvent(const char* name, CString& allEvents, CString* added, KyPropEntries& entries,
                                   KyPropEntry* selected);

}  // namespace ax
