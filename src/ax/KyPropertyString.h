// The property string and the event mapping string of an ActiveX control:
// pairs name=value separated by white space. A name is a run of identifier
// characters (letters, digits, "_" and double-byte characters); a value
// runs to the next white space, or, when it opens with a double quote, to
// the closing quote, inside which two double quotes stand for one.
#pragma once

#include <afx.h>

#include <vector>

#include "KyActiveXControlImpl.h"

class AFX_EXT_CLASS KyActiveXControlImpl::KyPropertyString {
 public:
  KyPropertyString() = default;
  explicit KyPropertyString(const char* text) { Parse(text); }
  virtual ~KyPropertyString() = default;

  // Takes `text` as the source and parses it into pairs. FALSE with the
  // error text set when the text breaks the grammar; the pairs read before
  // the fault stay, but callers apply nothing from a failed string.
  BOOL Parse(const char* text);
  // Appends one pair to the source text (and to the pairs), quoting the
  // value when it is empty, holds a double quote or a character that is
  // neither alphanumeric nor punctuation.
  void Append(const char* name, const char* value);
  // Empties the source text, the error and the pairs.
  void Clear();

  const CString& GetSource() const { return source_; }
  const CString& GetError() const { return error_; }
  int GetCount() const { return static_cast<int>(pairs_.size() / 2); }
  // The n-th pair's name and value ("" out of range).
  CString GetName(int n) const;
  CString GetValue(int n) const;

 private:
  CString source_;
  CString error_;
  std::vector<CString> pairs_;  // name, value, name, value ...
};
