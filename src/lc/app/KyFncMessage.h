// Messages of loading, calling and entering functions: the ids of their
// texts in the language library, and the checked formatting and stop box
// through which they are shown. The texts themselves live only in the
// language library; code names ids.
#pragma once

#include <windows.h>

#include <initializer_list>

#include "KyString.h"

enum KyFncMessageId : UINT {
  KyMsgLibraryNotLoaded = 0xE012,   // module name
  KyMsgCallNotLoaded = 0xE013,      // name, library name
  KyMsgNoContract = 0xE014,         // name, module name
  KyMsgNoEntry = 0xE016,            // name, entry name, module name
  KyMsgParameterCount = 0xE017,     // name
  KyMsgForeignKindA = 0xE028,       // name, module name; lines 0xE029-0xE02C; 0xE02D module name
  KyMsgForeignKindB = 0xE02E,       // as kind A: lines 0xE02F-0xE032; 0xE033 module name
  KyMsgLibraryVersion = 0xE038,     // module name, major, minor, patch, build
  KyMsgRuntimeVersion = 0xE039,     // major, minor, patch, build
  KyMsgRegenerate = 0xE03A,
  KyMsgWrongVersion = 0xE03B,       // name, module name
  KyMsgWrongBuild = 0xE03C,         // name, module name
  KyMsgWrongKind = 0xE03D,          // name, module name
  KyMsgGeneratorBuild = 0xE03E,     // function name, implementation name
  KyMsgGeneratorBuildIs = 0xE03F,   // function name, implementation name, build
  KyMsgGeneratorBuildNeeded = 0xE040,  // build
  KyMsgTransactionRefused = 0xE051,    // implementation name, library name
  KyMsgNoConversation = 0xE72F,
};

// One argument of a message: a text or a signed number.
struct KyMessageArg {
  KyMessageArg(const char* text) : text(text ? text : "") {}
  KyMessageArg(const CString& text) : text(text) {}
  KyMessageArg(int number) : isNumber(true), number(number) {}
  const char* text = nullptr;
  bool isNumber = false;
  int number = 0;
};

// The application's string nId with its printf directives filled from the
// arguments in order. The format comes from a resource file, so it is not
// trusted: a directive whose kind does not match its argument (a number
// for %s, a text for %d) or that has no argument left stays as written.
// Directives: %s, %d, %i, %u, %x, %X, %c with flags and a width or
// precision written as digits, and %%.
KyString KyFormatMessageId(UINT nId, std::initializer_list<KyMessageArg> args = {});
// The same over a format given as text.
KyString KyFormatMessageText(const char* pszFormat, std::initializer_list<KyMessageArg> args = {});
// Shows the text with KyMessage::Box in the style (MB_ICONSTOP, 16, for the
// failures of calls); KyMessage::Box's answer.
int KyShowMessageBox(const char* pszText, UINT nStyle = MB_ICONSTOP);
