// Ky400Translation: texts between the PC code page and an AS/400's EBCDIC
// CCSID, through the ".gxt" tables of the location's "Code Page" setting
// (KyCodePageSettings.h). Ky400TCPIPTranslation is the form the TCP/IP
// conversations and the location records use.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "KyCodePageSettings.h"
#include "KyGxtTable.h"

class Ky400Translation {
 public:
  // Virtual operations in slot order: usable, destructor, process value.
  virtual int IsUsable() const = 0;
  virtual ~Ky400Translation();
  // Stores one process-wide value (kept, read by nobody here).
  virtual void SetProcessValue(int iValue) = 0;

  // Under the process-wide translation lock: keeps the arguments, clears
  // every table and loads the two tables of the setting (host to PC, PC to
  // host). Answers IsUsable().
  int Init(int iDataConversion, HWND hWnd, int iCodePage);

  // Fills the field with 0x40 over its width and converts min(text length,
  // width) bytes to the host; without a table the bytes are copied.
  void ToEbc(const char* pszText, char* pField, int iWidth) const;
  // Clears iLength bytes of the text and converts iLength bytes of the
  // host field into it; without a table the bytes are copied. The text is
  // NUL-terminated only when the converted bytes leave room.
  void FromEbc(const char* pField, char* pszText, int iLength) const;

  int GetCodePage() const { return m_iCodePage; }
  int GetDataConversion() const { return m_iDataConversion; }
  HWND GetWindow() const { return m_hWnd; }
  // The loaded tables of the current setting (null: that direction copies).
  const KyGxtTable* HostToPc() const;
  const KyGxtTable* PcToHost() const;

 protected:
  Ky400Translation() = default;

 private:
  // The tables of one setting: [0] host to PC, [1] PC to host.
  using TablePair = std::array<std::unique_ptr<KyGxtTable>, 2>;
  const TablePair* current() const;
  // Shows the conversion-error box when the INI allows it.
  static void reportSubstitutions(int iCount);

  int m_iCodePage = 0;
  int m_iCurrent = -1;  // the setting's index in the table, found once by Init
  int m_iDataConversion = 0;
  HWND m_hWnd = nullptr;
  std::array<TablePair, std::size(kKyCodePageSettings)> m_Tables;
};

class Ky400TCPIPTranslation : public Ky400Translation {
 public:
  Ky400TCPIPTranslation();
  ~Ky400TCPIPTranslation() override;
  int IsUsable() const override { return 1; }
  void SetProcessValue(int iValue) override;

  // Live translations of the process.
  static int InstanceCount();
  static int ProcessValue();
};
