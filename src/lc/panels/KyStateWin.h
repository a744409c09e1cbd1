// KyStateWin: the part of every panel and control that takes its look from
// named states. A state is a layout string in the panel's resource library
// (string id = state id): a delimiter character, then pieces "number:value"
// split at it. SetState loads a state into the state table and applies what
// changed through the virtual setters, which the panel and each control
// class give their meaning.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "KyRecords.h"

class KyPanel;

class KyStateWin {
 public:
  // Fields of a layout string.
  enum LayoutField {
    FieldFlags = 1,
    FieldPosition = 2,
    FieldSize = 3,
    FieldText = 4,
    FieldTextColor = 5,
    FieldBackColor = 6,
    FieldFont = 7,
    FieldNumber = 8,
    FieldStateText = 9,
    FieldFirstPicture = 10,
    FieldSecondPicture = 11,
  };
  // Bits of the flags field.
  enum Flag { FlagVisible = 0x1, FlagEnabled = 0x2, FlagProtected = 0x4 };

  KyStateWin() = default;
  virtual ~KyStateWin();
  KyStateWin(const KyStateWin&) = delete;
  KyStateWin& operator=(const KyStateWin&) = delete;

  // Loads state iId and applies the fields that changed (every field when
  // IsGridCell answers non-zero).
  void SetState(int iId);
  // Loads state iId into the table only, inside the panel's resource scope.
  // An empty or missing layout string leaves the table as it was.
  void LoadState(int iId, KyPanel* pPanel);

  // --- virtual operations, in slot order ---
  virtual KyPanel* GetPanel() { return nullptr; }
  virtual void Repaint() {}
  virtual void SetVisible(int) {}
  virtual void SetEnabled(int) {}
  virtual void SetProtected(int) {}
  virtual void SetText(const char*) {}
  virtual void SetTextLimit(int) {}
  virtual void SetTextColor(COLORREF) {}
  virtual void SetBackColor(COLORREF) {}
  virtual void SetFont(HFONT) {}
  virtual void SetSize(int, int) {}
  virtual void SetPosition(int, int) {}
  virtual void SetFirstPicture(const char*) {}
  virtual void SetSecondPicture(const char*) {}
  // Field 9 of the layout.
  virtual void SetStateText(const char*) {}
  virtual void SetMinimum(const char*) {}
  virtual void SetMaximum(const char*) {}
  virtual void SetIncrement(const char*) {}
  virtual void ReservedOperation1() {}
  virtual void ReservedOperation2() {}
  virtual int IsGridCell() { return 0; }
  // For n > 0 and an owning panel: submenu n - 1 of the panel's "POPUPS"
  // menu at (x, y) with the track flags, owned by the panel's frame.
  virtual void DisplayContextMenu(int iMenu, UINT uFlags, int x, int y);
  // Keeps the context-menu words (offsets 8 and 10), passes the text limit
  // (offset 12) and the minimum, maximum and increment texts (string ids at
  // 14, 16, 18) to their setters.
  virtual void SetAuxData(const KyAuxCtrlInfo& aux);
  virtual int GetCurrentRow() { return -1; }

  int GetCurrentState() const { return m_iCurrentState; }
  DWORD GetStateFlags() const { return m_dwFlags; }
  COLORREF GetStateTextColor() const { return m_crText; }
  COLORREF GetStateBackColor() const { return m_crBack; }
  HFONT GetStateFont() const { return m_hFont; }
  DWORD GetStateNumber() const { return m_dwNumber; }
  int GetContextMenu(int i) const { return i == 0 ? m_iContextMenu1 : m_iContextMenu2; }
  void SetContextMenus(int iFirst, int iSecond) {
    m_iContextMenu1 = iFirst;
    m_iContextMenu2 = iSecond;
  }
  // On from construction; every applied state turns it off.
  int KeepsState() const { return m_fKeepState; }
  // The text a field holds now (null when none).
  const char* GetFieldText(int iField) const;

 protected:
  // Unscaled position and size last set (the setters keep them).
  int m_x = 0, m_y = 0, m_cx = 0, m_cy = 0;
  DWORD m_dwFlags = 0;

 private:
  struct Entry {
    bool hasText = false;
    std::string text;
    bool changed = true;
    bool isDefault = false;  // filled with the field's default when read
    int stateId = -1;
  };
  Entry& entry(int iField);
  void setEntry(int iField, const std::string& value, int iState);
  // The field's text, its default when it has none; whether it changed.
  const std::string& readField(int iField, bool& changed);
  void applyFont(const std::string& description);

  std::vector<Entry> m_Entries;  // by field number
  int m_iCurrentState = 0;
  bool m_fChangedAny = false;
  int m_fKeepState = 1;
  HFONT m_hFont = nullptr;  // held through the font cache
  COLORREF m_crText = CLR_INVALID, m_crBack = CLR_INVALID;
  DWORD m_dwNumber = 0;
  std::string m_DefaultFont;
  int m_iContextMenu1 = 0, m_iContextMenu2 = 0;
};
