// The clipboard met by other X programs through the CLIPBOARD selection.
//
// When the program's clipboard gets text, an unmapped window of ours takes
// the selection; another program's request is answered on the event thread
// with the text in UTF-8 (UTF8_STRING, TEXT) or Latin-1 (STRING), rendering
// delayed formats through the owner's WM_RENDERFORMAT first. When another
// program owns the selection, the program's clipboard reads its text
// (clipboard.cpp asks foreignClipboardText before it answers).
#include "x11_server.h"

#include <internal/codepage.h>

#include <chrono>
#include <cstdlib>

namespace win32::user {
// clipboard.cpp: the clipboard's text (delayed formats rendered); false without text.
bool clipboardTextForServer(std::u16string& text);
}  // namespace win32::user

namespace win32::user::x11 {
namespace {

constexpr auto kTransferWait = std::chrono::seconds(1);

std::string latin1(const std::u16string& text) {
  std::string out;
  for (char16_t c : text) out += c < 0x100 ? (char)c : '?';
  return out;
}

}  // namespace

void Server::makeSelectionWindowLocked() {
  if (selectionWindow_) return;
  selectionWindow_ = xcb_generate_id(conn_);
  const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_create_window(conn_, 0, selectionWindow_, screen_->root, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                    XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
}

void Server::claimClipboard() {
  std::lock_guard<std::mutex> guard(mutex_);
  makeSelectionWindowLocked();
  xcb_set_selection_owner(conn_, selectionWindow_, atoms_.clipboard, XCB_CURRENT_TIME);
  ownsClipboard_ = true;
  xcb_flush(conn_);
}

bool Server::foreignClipboardText(std::u16string& text) {
  // The event thread delivers the answer: it cannot wait for it itself.
  if (std::this_thread::get_id() == eventThread_) return false;
  auto* owner = xcb_get_selection_owner_reply(conn_, xcb_get_selection_owner(conn_, atoms_.clipboard), nullptr);
  const xcb_window_t who = owner ? owner->owner : (xcb_window_t)XCB_NONE;
  free(owner);
  if (who == XCB_NONE || (ownsClipboard_ && who == selectionWindow_)) return false;
  std::lock_guard<std::mutex> one(transferMutex_);
  {
    std::lock_guard<std::mutex> guard(mutex_);
    makeSelectionWindowLocked();
  }
  for (xcb_atom_t target : {atoms_.utf8String, atoms_.string}) {
    std::unique_lock<std::mutex> state(transferStateMutex_);
    transferPending_ = true;
    transferOk_ = false;
    xcb_convert_selection(conn_, selectionWindow_, atoms_.clipboard, target, atoms_.kyTransfer, XCB_CURRENT_TIME);
    xcb_flush(conn_);
    if (!transferDone_.wait_for(state, kTransferWait, [&] { return !transferPending_; })) {
      transferPending_ = false;
      return false;  // the owner does not answer
    }
    if (transferOk_) {
      text = target == atoms_.utf8String ? ansiToWide(transferBytes_, CP_UTF8)
                                         : std::u16string(transferBytes_.begin(), transferBytes_.end());
      return true;
    }
  }
  return false;
}

void Server::takeSelectionNotify(const xcb_selection_notify_event_t& notify) {
  std::string bytes;
  bool ok = false;
  if (notify.property != XCB_NONE) {
    auto* r = xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 1, selectionWindow_, notify.property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
        nullptr);
    // An INCR answer (text too large for one property) is not read: refused.
    if (r && r->type != XCB_NONE && r->format == 8) {
      bytes.assign((const char*)xcb_get_property_value(r), (size_t)xcb_get_property_value_length(r));
      ok = true;
    }
    free(r);
  }
  std::lock_guard<std::mutex> state(transferStateMutex_);
  if (!transferPending_) return;  // late: the wait gave up
  transferBytes_ = std::move(bytes);
  transferOk_ = ok;
  transferPending_ = false;
  transferDone_.notify_all();
}

void Server::answerSelectionRequest(const xcb_selection_request_event_t& request) {
  // Clients of the old protocol name no property: the target is the property then.
  xcb_atom_t property = request.property == XCB_NONE ? request.target : request.property;
  bool answered = false;
  if (request.selection == atoms_.clipboard && ownsClipboard_) {
    if (request.target == atoms_.targets) {
      const xcb_atom_t targets[] = {atoms_.targets, atoms_.utf8String, atoms_.text, atoms_.string};
      xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, request.requestor, property, XCB_ATOM_ATOM, 32,
                          (uint32_t)std::size(targets), targets);
      answered = true;
    } else if (request.target == atoms_.utf8String || request.target == atoms_.text ||
               request.target == atoms_.string) {
      std::u16string text;
      if (clipboardTextForServer(text)) {
        const bool utf8 = request.target != atoms_.string;
        std::string bytes = utf8 ? wideToAnsi(text, CP_UTF8) : latin1(text);
        if (bytes.size() + 64 <= maxRequest_) {
          xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, request.requestor, property,
                              utf8 ? atoms_.utf8String : atoms_.string, 8, (uint32_t)bytes.size(), bytes.data());
          answered = true;
        }
      }
    }
  }
  xcb_selection_notify_event_t notify{};
  notify.response_type = XCB_SELECTION_NOTIFY;
  notify.time = request.time;
  notify.requestor = request.requestor;
  notify.selection = request.selection;
  notify.target = request.target;
  notify.property = answered ? property : (xcb_atom_t)XCB_NONE;
  xcb_send_event(conn_, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT, (const char*)&notify);
  xcb_flush(conn_);
}

}  // namespace win32::user::x11
