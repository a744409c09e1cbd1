// What the creation functions need to know of the thread's COM start-up.
#pragma once

namespace ole32 {

// Whether the calling thread has an open CoInitialize(Ex).
bool threadInitialised();
// Whether the calling thread has an open OleInitialize.
bool oleInitialised();

}  // namespace ole32
