// The clipboard met by other X programs through the CLIPBOARD selection.
//
// When the program's clipboard gets text, an unmapped window of ours takes
// the selection; another program's request is answered on the event thread
// with the text in UTF-8 (UTF8_STRING, TEXT) or Latin-1 (STRING), rendering
// delayed formats through the owner's WM_RENDERFORMAT first. When another
// program owns the selection, the program's clipboard reads its text
// (clipboard.cpp asks foreignClipboardText before it answers).
//
// Texts larger than one property should hold go in pieces both ways
// (the INCR protocol of the ICCCM): the giver names the size with a
// property of type INCR, then puts each piece when the taker has deleted
// the last one, and ends with an empty piece.
#include "x11_server.h"

#include <internal/codepage.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace win32::user {
// clipboard.cpp: the clipboard's text (delayed formats rendered); false without text.
bool clipboardTextForServer(std::u16string& text);
}  // namespace win32::user

namespace win32::user::x11 {
namespace {

// How long a transfer may stand still (no answer, no piece) before it is given up.
constexpr auto kTransferWait = std::chrono::seconds(1);
constexpr ULONGLONG kOutgoingStandstillMs = 10000;
// The largest property we put at once: what clients without big requests
// can read in one request. Larger texts go in pieces of this size.
constexpr size_t kLargestPiece = 256 * 1024;
// A text read from another program larger than this is refused.
constexpr size_t kLargestText = 64u * 1024 * 1024;

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
    transferIncremental_ = false;
    transferBytes_.clear();
    xcb_convert_selection(conn_, selectionWindow_, atoms_.clipboard, target, atoms_.kyTransfer, XCB_CURRENT_TIME);
    xcb_flush(conn_);
    // Waits as long as pieces keep coming.
    for (;;) {
      const uint64_t progress = transferProgress_;
      if (transferDone_.wait_for(state, kTransferWait,
                                 [&] { return !transferPending_ || transferProgress_ != progress; })) {
        if (!transferPending_) break;
        continue;
      }
      transferPending_ = false;
      transferIncremental_ = false;
      transferBytes_.clear();
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
  bool ok = false, incremental = false;
  if (notify.property != XCB_NONE) {
    // Read and deleted at once: for an INCR answer the deletion asks for the first piece.
    auto* r = xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 1, selectionWindow_, notify.property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
        nullptr);
    if (r && r->type == atoms_.incr) {
      incremental = true;
    } else if (r && r->type != XCB_NONE && r->format == 8) {
      bytes.assign((const char*)xcb_get_property_value(r), (size_t)xcb_get_property_value_length(r));
      ok = true;
    }
    free(r);
    xcb_flush(conn_);
  }
  std::lock_guard<std::mutex> state(transferStateMutex_);
  if (!transferPending_) return;  // late: the wait gave up
  if (incremental) {
    transferIncremental_ = true;
    ++transferProgress_;
    transferDone_.notify_all();
    return;
  }
  transferBytes_ = std::move(bytes);
  transferOk_ = ok;
  transferPending_ = false;
  transferDone_.notify_all();
}

void Server::selectionPropertyChanged(const xcb_property_notify_event_t& event) {
  if (event.window == selectionWindow_) {
    // A piece of the text we read has been put.
    if (event.atom != atoms_.kyTransfer || event.state != XCB_PROPERTY_NEW_VALUE) return;
    {
      std::lock_guard<std::mutex> state(transferStateMutex_);
      if (!transferPending_ || !transferIncremental_) return;
    }
    auto* r = xcb_get_property_reply(
        conn_, xcb_get_property(conn_, 1, selectionWindow_, event.atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 24),
        nullptr);
    xcb_flush(conn_);  // the deletion asks for the next piece
    std::lock_guard<std::mutex> state(transferStateMutex_);
    if (r && r->type == XCB_NONE) {
      free(r);  // gone before we looked: no piece
      return;
    }
    const bool readable = r && r->format == 8;
    const size_t length = readable ? (size_t)xcb_get_property_value_length(r) : 0;
    if (transferPending_ && transferIncremental_) {
      const bool tooLarge = transferBytes_.size() + length > kLargestText;
      if (!readable || length == 0 || tooLarge) {
        // The empty piece ends the text; a text beyond our limit is refused whole.
        transferOk_ = readable && length == 0;
        if (tooLarge) fprintf(stderr, "the text on the X clipboard is larger than %zu bytes: not read\n", kLargestText);
        if (!transferOk_) transferBytes_.clear();
        transferPending_ = false;
        transferIncremental_ = false;
      } else {
        transferBytes_.append((const char*)xcb_get_property_value(r), length);
      }
      ++transferProgress_;
      transferDone_.notify_all();
    }
    free(r);
    return;
  }
  // A program reading a text of ours in pieces has deleted the last one.
  const ULONGLONG now = GetTickCount64();
  std::erase_if(outgoing_, [&](const OutgoingTransfer& t) { return now - t.lastActivity > kOutgoingStandstillMs; });
  if (event.state != XCB_PROPERTY_DELETE) return;
  for (auto it = outgoing_.begin(); it != outgoing_.end(); ++it) {
    if (it->requestor != event.window || it->property != event.atom) continue;
    if (it->ended) {
      outgoing_.erase(it);
    } else {
      sendNextPiece(*it);
    }
    return;
  }
}

size_t Server::largestPiece() const { return std::min(kLargestPiece, (size_t)maxRequest_ - 64); }

void Server::sendNextPiece(OutgoingTransfer& transfer) {
  const size_t length = std::min(largestPiece(), transfer.bytes.size() - transfer.sent);
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, transfer.requestor, transfer.property, transfer.type, 8,
                      (uint32_t)length, transfer.bytes.data() + transfer.sent);
  transfer.sent += length;
  transfer.ended = length == 0;
  transfer.lastActivity = GetTickCount64();
  xcb_flush(conn_);
}

void Server::startOutgoing(xcb_window_t requestor, xcb_atom_t property, xcb_atom_t type, std::string bytes) {
  // A second request on the same property starts over.
  std::erase_if(outgoing_, [&](const OutgoingTransfer& t) { return t.requestor == requestor && t.property == property; });
  // Its deletions of the property ask for the pieces.
  const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
  xcb_change_window_attributes(conn_, requestor, XCB_CW_EVENT_MASK, &events);
  const uint32_t size = (uint32_t)std::min<size_t>(bytes.size(), UINT32_MAX);
  xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, requestor, property, atoms_.incr, 32, 1, &size);
  OutgoingTransfer t;
  t.requestor = requestor;
  t.property = property;
  t.type = type;
  t.bytes = std::move(bytes);
  t.lastActivity = GetTickCount64();
  outgoing_.push_back(std::move(t));
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
        const xcb_atom_t type = utf8 ? atoms_.utf8String : atoms_.string;
        std::string bytes = utf8 ? wideToAnsi(text, CP_UTF8) : latin1(text);
        if (bytes.size() <= largestPiece()) {
          xcb_change_property(conn_, XCB_PROP_MODE_REPLACE, request.requestor, property, type, 8,
                              (uint32_t)bytes.size(), bytes.data());
        } else {
          startOutgoing(request.requestor, property, type, std::move(bytes));
        }
        answered = true;
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
