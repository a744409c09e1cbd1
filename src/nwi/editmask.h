// Edit masks of masked strings (type 'm'): which characters may stand at
// each position and which literals the display adds.
//   '@' a letter (or a byte 0xCA-0xFF), blank ' '
//   '#' a digit, blank '_'
//   '!' a punctuation character, blank '-'
//   '&' a letter or digit (or a byte 0xCA-0xFF), blank ' '
//   '*' any character but the controls 0x00-0x1F and 0x7F, blank ' '
//   '\' the next mask character as a literal
//   "[...]" a colour prefix: no output, no position
//   anything else: itself as a literal
#pragma once

// Direction 0 formats a stored text for display (literals added, blanks
// for missing characters); direction 1 strips a display text back to the
// stored text, stopping at a character that its place refuses (the result
// is then one more than the characters written). Without a mask the text
// is copied. Writes at most outSize - 1 characters.
int HCtlMaskFormat(const char* text, const char* mask, char* out, int outSize, int direction);

// One typed key at a position of a display text in a buffer of textSize
// bytes: 0 accepted (*newCaret, *count = positions advanced), 1 refused.
int HCtlMaskKey(char* text, int textSize, const char* mask, int position, char key, int* newCaret, int* count);

// Delete at a position: 0 past the end of the mask; otherwise 2, a
// placeholder's character becoming its blank (a literal stays).
int HCtlMaskDelete(char* text, const char* mask, int position);

// Whether a stripped text is complete up to blanks: every character after
// the stopping point is a blank or literal of its place. Used to accept a
// display text whose last places were left unfilled.
int HCtlMaskRestIsBlank(const char* text, const char* mask);
