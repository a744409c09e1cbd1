// Typed values to text and back, and the key and delete rules of edit
// texts, by type letter (datatypes.h). The entry points that the edit,
// spin, list, combo and grid classes share.
#pragma once
#include <windows.h>

extern "C" {
// A typed value as display text (editForm: the text an edit shows while
// the user types). Returns the length written; 0 for no value or out, an
// out size under 2, an invalid pair or a date that does not convert.
// *negative (optional) is set for a negative number or a false boolean.
int WINAPI FormatData(const void* value, char type, char storage, const char* picture, char* out, int outSize,
                      int* negative, int editForm);
}

// Text into a typed value: 0 stored, 1 refused (invalid type or pair, a
// number with foreign characters or outside the storage's range, an
// impossible date). valueSize bounds the strings of 's' and 'm'. The value
// is untouched when refused. `flag` says which form the text is in, as
// FormatData's editForm: dates read by the picture as given (0) or by the
// components it selects of the default pictures (1).
int HCtlTextToValue(void* value, int valueSize, char type, char storage, const char* picture, const char* text,
                    int flag);

// One typed character into an edit text of textSize bytes. 0 when handled
// here (text updated, *newCaret and *selection set); 1 when refused or not
// handled (type 's' and unknown types: the edit inserts the key itself).
// `range` is the field's range letter for numbers (numberformat.h).
int HCtlEditKey(char type, char storage, char* text, int textSize, const char* picture, int caret, char key,
                int* newCaret, int* selection, char range);

// The delete key at a position: 1 when the character stays and the caret
// steps over it; 0 when it was removed or replaced, or the deletion is
// refused (the control beeps).
int HCtlDeleteKey(char type, char storage, char* text, const char* picture, int position);

// Replaces a field's own copy of its picture (none for type 's'): 1 when
// set, 0 for no picture or type 's'.
int HCtlSetPicture(char type, LPSTR* holder, const char* picture);
