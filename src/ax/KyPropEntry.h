// The entries of the property list: one named value of a control (a
// property, or a physical event's logical event) with its initial value,
// its state flags and, for choices, its enumeration values. The kind of an
// entry follows its data type: booleans, colours, fonts and pictures have
// editors of their own; any other entry is edited in place.
#pragma once

#include <afxwin.h>
#include <wingdi.h>

#include <memory>
#include <vector>

class KyComDataType;

class AFX_EXT_CLASS KyPropEntry {
 public:
  struct KyPropEntryEnum {
    CString display;
    CString value;
  };
  enum Editor { InPlace, DropDown, Ellipsis };

  KyPropEntry(const char* name, const char* value);
  virtual ~KyPropEntry() = default;

  // The entry's dialog editor (the ellipsis action): TRUE when a new value
  // was committed. Plain entries have none.
  virtual BOOL Edit(CWnd* parent) { return FALSE; }
  // Which editor the list places over the selected row.
  virtual Editor GetEditor() const { return m_enums.empty() ? InPlace : DropDown; }

  // Without enumeration values the text is the value; otherwise the value
  // whose display name equals the text (case-sensitive) is taken, and an
  // unknown display name keeps the value. Either way the entry is modified.
  void SetValueText(const char* text);
  // What the row shows: the display name of the matching enumeration
  // value, else the value text.
  CString GetDisplayValue() const;
  // "Set Value": modified with the current value. "Reset Value": the
  // initial value, neither modified nor failed.
  void MarkModified() { m_modified = TRUE; }
  void Reset();
  // The next enumeration value (a double click); after the last, the first.
  void SelectNextValue();
  void AddEnum(const char* display, const char* value) { m_enums.push_back({display, value}); }

  CString m_name;
  CString m_value;
  CString m_initial;
  CString m_description;
  CString m_helpFile;
  DWORD m_helpContext = 0;
  BOOL m_editable = TRUE;
  BOOL m_modified = FALSE;
  BOOL m_error = FALSE;
  std::vector<KyPropEntryEnum> m_enums;
};

class AFX_EXT_CLASS KyPropEntryBOOL : public KyPropEntry {
 public:
  // "True" stands for "1" and "False" for "0".
  KyPropEntryBOOL(const char* name, const char* value);
};

class AFX_EXT_CLASS KyPropEntryCOLOR : public KyPropEntry {
 public:
  using KyPropEntry::KyPropEntry;
  Editor GetEditor() const override { return Ellipsis; }
  // The colour dialog from the current value; the choice as "0x%8.8X".
  BOOL Edit(CWnd* parent) override;
};

class AFX_EXT_CLASS KyPropEntryFONT : public KyPropEntry {
 public:
  using KyPropEntry::KyPropEntry;
  Editor GetEditor() const override { return Ellipsis; }
  // The font dialog (screen fonts, effects) from the current text; the
  // choice in the font text form with every attribute it has.
  BOOL Edit(CWnd* parent) override;
};

class AFX_EXT_CLASS KyPropEntryPIC : public KyPropEntry {
 public:
  using KyPropEntry::KyPropEntry;
  Editor GetEditor() const override { return Ellipsis; }
  // A file-open dialog for an existing picture file; the path is the value.
  BOOL Edit(CWnd* parent) override;
};

// The entry kind for a data type (null: a plain entry).
AFX_EXT_CLASS std::unique_ptr<KyPropEntry> KyMakePropEntry(const KyComDataType* type, const char* name,
                                                           const char* value);

namespace ax {

// The font text form read into a logical font for a screen of that many
// pixels per inch: weight 700 for "bold" in the style word, else 400;
// italic, underline and strike-out as the style says; the height is the
// size in points at that resolution. False for a text the form refuses.
AFX_EXT_CLASS bool LogFontFromText(const char* text, int pixelsPerInch, LOGFONTA* font);
// A chosen font in the font text form: "Bold" for any weight from
// semi-bold (600) up, and italic, underline and strike-out as chosen.
AFX_EXT_CLASS CString FontTextFromChoice(const LOGFONTA& font, int points);

}  // namespace ax
