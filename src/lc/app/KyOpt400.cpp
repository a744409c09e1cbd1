#include "KyOpt400.h"

#include "KyRunOptions.h"

BOOL KyOpt400::OnInitDialog() {
  SetConnection(nullptr, "", nullptr);
  KyErr400::OnInitDialog();
  CenterWindow();
  return TRUE;
}

void KyRunOptions::OptAS400() {
  KyOpt400 dialog;
  dialog.DoModal();
}
