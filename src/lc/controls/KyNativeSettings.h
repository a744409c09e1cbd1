// Which control kinds are native controls: the [NativeControls] settings of
// the application INI, replaced as a whole for the panels of a function
// whose INI has a section "<function>:NativeControls".
#pragma once

#include <string>

struct KyNativeSettings {
  int listBox = 1;
  int comboBox = 1;
  int spinButton = 1;
  int pushButton = 1;
  int radioButton = 1;
  int checkBox = 1;
  int multiLineEdit = 1;  // read with the others; multi-line edits are always native
  int singleLineEdit = 1;
  int singleLineEditNumeric = 0;
  int statics = 1;
  int replaceStaticBumpStyle = 1;

  // The settings of a function's panels. The process-wide set is read once;
  // a function's own section is read when the function differs from the
  // last one asked for (the whole name, without case).
  static const KyNativeSettings& For(const char* pszFunctionName);
  // Forgets what was read (the INI file changed).
  static void Reset();
};
