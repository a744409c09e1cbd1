// Tables of the library's live handles.
#include "vbxhandles.h"

#include "vbxcontrol.h"

#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace vbx {
namespace {

struct Tables {
  std::mutex lock;
  std::map<HCTL, std::unique_ptr<Control>> controls;
  std::map<HSZ, std::unique_ptr<std::string>> strings;
  std::set<Picture*> pictures;
};

Tables& tables() {
  static Tables t;
  return t;
}

}  // namespace

HCTL rememberControl(Control* control) {
  std::lock_guard<std::mutex> guard(tables().lock);
  HCTL handle = reinterpret_cast<HCTL>(control);
  tables().controls[handle].reset(control);
  return handle;
}

Control* knownControl(HCTL hctl) {
  std::lock_guard<std::mutex> guard(tables().lock);
  auto it = tables().controls.find(hctl);
  return it == tables().controls.end() ? nullptr : it->second.get();
}

void forgetControl(HCTL hctl) {
  std::unique_ptr<Control> gone;
  {
    std::lock_guard<std::mutex> guard(tables().lock);
    auto it = tables().controls.find(hctl);
    if (it == tables().controls.end()) return;
    gone = std::move(it->second);
    tables().controls.erase(it);
  }
  // Destroyed outside the lock: its window's end may call back in.
}

void forgetAllControls() {
  std::map<HCTL, std::unique_ptr<Control>> gone;
  {
    std::lock_guard<std::mutex> guard(tables().lock);
    gone.swap(tables().controls);
  }
}

HSZ newString(const std::string& text) {
  auto copy = std::make_unique<std::string>(text);
  HSZ handle = reinterpret_cast<HSZ>(copy.get());
  std::lock_guard<std::mutex> guard(tables().lock);
  tables().strings[handle] = std::move(copy);
  return handle;
}

const std::string* knownString(HSZ hsz) {
  std::lock_guard<std::mutex> guard(tables().lock);
  auto it = tables().strings.find(hsz);
  return it == tables().strings.end() ? nullptr : it->second.get();
}

void destroyString(HSZ hsz) {
  std::lock_guard<std::mutex> guard(tables().lock);
  tables().strings.erase(hsz);
}

HPIC rememberPicture(Picture* picture) {
  std::lock_guard<std::mutex> guard(tables().lock);
  tables().pictures.insert(picture);
  return reinterpret_cast<HPIC>(picture);
}

Picture* knownPicture(LONG_PTR value) {
  auto* picture = reinterpret_cast<Picture*>(value);
  std::lock_guard<std::mutex> guard(tables().lock);
  return tables().pictures.count(picture) ? picture : nullptr;
}

void forgetPicture(Picture* picture) {
  std::lock_guard<std::mutex> guard(tables().lock);
  tables().pictures.erase(picture);
}

}  // namespace vbx
