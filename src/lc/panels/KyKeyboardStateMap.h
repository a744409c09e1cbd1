// KyKeyboardStateMap: the panel's keyboard states, one flag per pointer-sized
// key (a window or control). A key never set reads as 1 (enabled).
#pragma once

#include <windows.h>

#include <unordered_map>

class KyKeyboardStateMap {
 public:
  int GetState(UINT_PTR key) const {
    auto it = m_States.find(key);
    return it == m_States.end() ? 1 : it->second;
  }
  void SetState(UINT_PTR key, int fState) { m_States[key] = fState; }

 private:
  std::unordered_map<UINT_PTR, int> m_States;
};
