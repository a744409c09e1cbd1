// The clipboard shared with another X client through the CLIPBOARD
// selection: text the program sets is pasted by the other client in UTF-8,
// delayed rendering included, and text the other client offers is read by
// the program in its three text formats. Texts too large for one property
// go in pieces (INCR) both ways.
#include "message_log.h"
#include "x11_client.h"

#include <internal/codepage.h>
#include <internal/xserver.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <thread>

namespace {

kytest::XServer server;

// The other program: pastes with a conversion, or offers text it owns.
class OtherClient : public test::XClient {
 public:
  OtherClient() : test::XClient(server.display().c_str()) {
    window_ = xcb_generate_id(connection());
    // Property changes: the pieces of a text read in pieces come that way.
    const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection(), 0, window_, root(), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &events);
    sync();
  }

  // The next event (nullptr after `end`).
  xcb_generic_event_t* nextEvent(std::chrono::steady_clock::time_point end) {
    while (std::chrono::steady_clock::now() < end) {
      if (xcb_generic_event_t* e = xcb_poll_for_event(connection())) return e;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return nullptr;
  }

  // Reads the pieces of an INCR answer in `property` until the empty one.
  bool readPieces(xcb_atom_t property, std::string& bytes, std::string* type) {
    bytes.clear();
    xcb_delete_property(connection(), window_, property);  // asks for the first piece
    xcb_flush(connection());
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (xcb_generic_event_t* e = nextEvent(end)) {
      const bool put = (e->response_type & 0x7F) == XCB_PROPERTY_NOTIFY &&
                       ((xcb_property_notify_event_t*)e)->atom == property &&
                       ((xcb_property_notify_event_t*)e)->state == XCB_PROPERTY_NEW_VALUE;
      free(e);
      if (!put) continue;
      auto* r = xcb_get_property_reply(
          connection(), xcb_get_property(connection(), 1, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
          nullptr);
      if (!r) return false;
      const size_t length = (size_t)xcb_get_property_value_length(r);
      bytes.append((const char*)xcb_get_property_value(r), length);
      if (type) *type = typeName(r->type);
      free(r);
      ++pieces_;
      if (length == 0) return true;
    }
    return false;
  }

  // The CLIPBOARD converted to `target`; false when refused or not answered.
  // `pieces()` tells afterwards how many pieces an INCR answer came in (0: none).
  bool paste(const char* target, std::string& bytes, std::string* type = nullptr) {
    pieces_ = 0;
    xcb_atom_t property = atom("KY_TEST_PASTE");
    xcb_convert_selection(connection(), window_, atom("CLIPBOARD"), atom(target), property, XCB_CURRENT_TIME);
    xcb_flush(connection());
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (std::chrono::steady_clock::now() < end) {
      xcb_generic_event_t* e = xcb_poll_for_event(connection());
      if (!e) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        continue;
      }
      bool notify = (e->response_type & 0x7F) == XCB_SELECTION_NOTIFY;
      xcb_atom_t got = notify ? ((xcb_selection_notify_event_t*)e)->property : 0;
      free(e);
      if (!notify) continue;
      if (got == XCB_NONE) return false;
      auto* r = xcb_get_property_reply(
          connection(), xcb_get_property(connection(), 0, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
          nullptr);
      if (!r) return false;
      const bool incremental = r->type == atom("INCR");
      bytes.assign((const char*)xcb_get_property_value(r), (size_t)xcb_get_property_value_length(r));
      if (type) *type = typeName(r->type);
      free(r);
      if (incremental) return readPieces(property, bytes, type);
      xcb_delete_property(connection(), window_, property);
      sync();
      return true;
    }
    return false;
  }

  // Owns the CLIPBOARD with `utf8` and answers conversions until `stop`;
  // a text longer than `piece` bytes is given in pieces of that size (INCR).
  void offer(const std::string& utf8, const std::atomic<bool>& stop, size_t piece = SIZE_MAX) {
    xcb_set_selection_owner(connection(), window_, atom("CLIPBOARD"), XCB_CURRENT_TIME);
    sync();
    const xcb_atom_t utf8String = atom("UTF8_STRING");
    // The transfer in pieces under way: who reads it, into which property, how far.
    xcb_window_t reader = 0;
    xcb_atom_t readerProperty = 0;
    size_t sent = 0;
    bool ended = false;
    while (!stop) {
      xcb_generic_event_t* e = xcb_poll_for_event(connection());
      if (!e) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        continue;
      }
      if ((e->response_type & 0x7F) == XCB_SELECTION_REQUEST) {
        auto* req = (xcb_selection_request_event_t*)e;
        xcb_selection_notify_event_t n{};
        n.response_type = XCB_SELECTION_NOTIFY;
        n.requestor = req->requestor;
        n.selection = req->selection;
        n.target = req->target;
        n.time = req->time;
        n.property = XCB_NONE;
        if (req->target == utf8String && utf8.size() > piece) {
          const uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
          xcb_change_window_attributes(connection(), req->requestor, XCB_CW_EVENT_MASK, &events);
          const uint32_t size = (uint32_t)utf8.size();
          xcb_change_property(connection(), XCB_PROP_MODE_REPLACE, req->requestor, req->property, atom("INCR"), 32, 1,
                              &size);
          reader = req->requestor;
          readerProperty = req->property;
          sent = 0;
          ended = false;
          n.property = req->property;
        } else if (req->target == utf8String) {
          xcb_change_property(connection(), XCB_PROP_MODE_REPLACE, req->requestor, req->property, utf8String, 8,
                              (uint32_t)utf8.size(), utf8.data());
          n.property = req->property;
        }
        xcb_send_event(connection(), 0, req->requestor, 0, (const char*)&n);
        xcb_flush(connection());
      } else if ((e->response_type & 0x7F) == XCB_PROPERTY_NOTIFY) {
        auto* p = (xcb_property_notify_event_t*)e;
        // The reader took the last piece: the next one, the empty one at the end.
        if (p->window == reader && p->atom == readerProperty && p->state == XCB_PROPERTY_DELETE && !ended) {
          const size_t length = std::min(piece, utf8.size() - sent);
          xcb_change_property(connection(), XCB_PROP_MODE_REPLACE, reader, readerProperty, utf8String, 8,
                              (uint32_t)length, utf8.data() + sent);
          sent += length;
          ended = length == 0;
          ++pieces_;
          xcb_flush(connection());
        }
      }
      free(e);
    }
  }

 private:
  std::string typeName(xcb_atom_t a) {
    auto* r = xcb_get_atom_name_reply(connection(), xcb_get_atom_name(connection(), a), nullptr);
    std::string name = r ? std::string(xcb_get_atom_name_name(r), (size_t)xcb_get_atom_name_name_length(r)) : "";
    free(r);
    return name;
  }
  xcb_window_t window_ = 0;

 public:
  size_t pieces() const { return pieces_; }

 private:
  std::atomic<size_t> pieces_{0};
};

class X11Clipboard : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(server.running()) << server.error();
    owner = CreateWindowExA(0, test::recorderClass(), "clipboard owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                            nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
  }
  void TearDown() override {
    test::answer() = nullptr;
    DestroyWindow(owner);
  }
  static void put(HWND owner, UINT format, const void* bytes, size_t size) {
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    HGLOBAL h = nullptr;
    if (bytes) {
      h = GlobalAlloc(GMEM_MOVEABLE, size);
      memcpy(GlobalLock(h), bytes, size);
      GlobalUnlock(h);
    }
    SetClipboardData(format, h);
    CloseClipboard();
  }
  // Pastes in another thread while this one pumps (for WM_RENDERFORMAT).
  static bool pasteWhilePumping(OtherClient& other, const char* target, std::string& bytes, std::string* type) {
    std::atomic<bool> done{false};
    bool ok = false;
    std::thread paster([&] {
      ok = other.paste(target, bytes, type);
      done = true;
    });
    test::pumpUntil([&] { return done.load(); }, 10000);
    paster.join();
    return ok;
  }
  HWND owner = nullptr;
};

TEST_F(X11Clipboard, TextSetHereIsPastedByAnotherClient) {
  OtherClient other;
  ASSERT_TRUE(other.connected());
  const std::u16string wide = u"wide \u00fc \u20ac";
  struct Case {
    const char* what;
    UINT format;
    std::string block;  // the bytes put on the clipboard, terminator included
    const char* target;
    std::string expected;
    const char* type;
  } cases[] = {
      {"ANSI as UTF-8", CF_TEXT, std::string("Gr\xfc\xdf" "e \x80", 8), "UTF8_STRING", "Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac", "UTF8_STRING"},
      {"ANSI as Latin-1", CF_TEXT, std::string("caf\xe9", 5), "STRING", "caf\xe9", "STRING"},
      {"TEXT is UTF-8", CF_TEXT, std::string("plain", 6), "TEXT", "plain", "UTF8_STRING"},
      {"Unicode", CF_UNICODETEXT, std::string((const char*)wide.c_str(), (wide.size() + 1) * 2), "UTF8_STRING",
       "wide \xc3\xbc \xe2\x82\xac", "UTF8_STRING"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    put(owner, c.format, c.block.data(), c.block.size());
    std::string bytes, type;
    ASSERT_TRUE(pasteWhilePumping(other, c.target, bytes, &type));
    EXPECT_EQ(bytes, c.expected);
    EXPECT_EQ(type, c.type);
  }
  // TARGETS names what can be asked for.
  std::string targets;
  ASSERT_TRUE(pasteWhilePumping(other, "TARGETS", targets, nullptr));
  EXPECT_EQ(targets.size(), 4 * sizeof(uint32_t));
  // Delayed rendering: the owner renders when the other client asks.
  put(owner, CF_TEXT, nullptr, 0);
  test::log().clear();
  test::answer() = [](HWND hwnd, UINT msg, WPARAM format, LPARAM, LRESULT& r) {
    if (msg != WM_RENDERFORMAT) return false;
    static const char rendered[] = "rendered late";
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, sizeof rendered);
    memcpy(GlobalLock(h), rendered, sizeof rendered);
    GlobalUnlock(h);
    SetClipboardData((UINT)format, h);
    r = 0;
    return true;
  };
  std::string late;
  ASSERT_TRUE(pasteWhilePumping(other, "UTF8_STRING", late, nullptr));
  EXPECT_EQ(late, "rendered late");
  bool asked = false;
  for (const test::Logged& l : test::log()) asked |= l.msg == WM_RENDERFORMAT && l.wParam == CF_TEXT;
  EXPECT_TRUE(asked);
}

TEST_F(X11Clipboard, TextOfferedByAnotherClientIsReadHere) {
  OtherClient other;
  ASSERT_TRUE(other.connected());
  put(owner, CF_TEXT, "ours", 5);
  test::XClient probe(server.display().c_str());
  const xcb_atom_t clipboard = probe.atom("CLIPBOARD");
  auto ownerOf = [&] {
    auto* r = xcb_get_selection_owner_reply(probe.connection(), xcb_get_selection_owner(probe.connection(), clipboard),
                                            nullptr);
    xcb_window_t w = r ? r->owner : 0;
    free(r);
    return w;
  };
  const xcb_window_t ours = ownerOf();
  std::atomic<bool> stop{false};
  std::thread offering([&] { other.offer("from X \xc3\xbc \xe2\x82\xac", stop); });
  struct Joiner {
    std::atomic<bool>& stop;
    std::thread& thread;
    ~Joiner() {
      stop = true;
      thread.join();
    }
  } joiner{stop, offering};
  // Wait until the other client owns it.
  ASSERT_TRUE(test::pumpUntil([&] { return ownerOf() != ours; }));

  EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  ASSERT_TRUE(OpenClipboard(owner));
  const std::u16string wideText = u"from X \u00fc \u20ac";
  struct {
    UINT format;
    std::string expected;
  } cases[] = {
      {CF_TEXT, "from X \xfc \x80"},
      {CF_UNICODETEXT, std::string((const char*)wideText.data(), wideText.size() * 2)},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.format);
    HANDLE h = GetClipboardData(c.format);
    ASSERT_NE(h, nullptr);
    const char* p = (const char*)GlobalLock(h);
    std::string got = c.format == CF_UNICODETEXT
                          ? std::string(p, std::char_traits<char16_t>::length((const char16_t*)p) * 2)
                          : std::string(p);
    GlobalUnlock(h);
    EXPECT_EQ(got, c.expected);
  }
  CloseClipboard();
}

// A text of `bytes` bytes in the ANSI code page, and the same in UTF-8:
// accented letters and the euro sign, so that pieces split characters.
void largeText(size_t bytes, std::string& ansi, std::string& utf8) {
  static const char kAnsi[] = "Gr\xfc\xdf" "e \x80 ";
  static const char kUtf8[] = "Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac ";
  ansi.clear();
  utf8.clear();
  for (size_t i = 0; ansi.size() < bytes; ++i) {
    std::string n = std::to_string(i);
    ansi += kAnsi + n;
    utf8 += kUtf8 + n;
  }
}

TEST_F(X11Clipboard, LargeTextSetHereIsPastedInPieces) {
  OtherClient other;
  ASSERT_TRUE(other.connected());
  std::string ansi, utf8;
  largeText(3 * 1024 * 1024, ansi, utf8);
  put(owner, CF_TEXT, ansi.c_str(), ansi.size() + 1);
  std::string latin1 = ansi;
  std::replace(latin1.begin(), latin1.end(), '\x80', '?');  // the euro sign is no Latin-1 character
  struct {
    const char* target;
    const std::string& expected;
  } cases[] = {{"UTF8_STRING", utf8}, {"STRING", latin1}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.target);
    std::string bytes, type;
    ASSERT_TRUE(pasteWhilePumping(other, c.target, bytes, &type));
    EXPECT_GT(other.pieces(), 2u);  // in pieces, the empty end included
    ASSERT_EQ(bytes.size(), c.expected.size());
    EXPECT_TRUE(bytes == c.expected);
    EXPECT_EQ(type, c.target);
  }
  // A small text afterwards comes whole again.
  put(owner, CF_TEXT, "small", 6);
  std::string bytes;
  ASSERT_TRUE(pasteWhilePumping(other, "UTF8_STRING", bytes, nullptr));
  EXPECT_EQ(bytes, "small");
  EXPECT_EQ(other.pieces(), 0u);
}

TEST_F(X11Clipboard, LargeTextOfferedInPiecesIsReadHere) {
  OtherClient other;
  ASSERT_TRUE(other.connected());
  std::string ansi, utf8;
  largeText(2 * 1024 * 1024, ansi, utf8);
  put(owner, CF_TEXT, "ours", 5);
  test::XClient probe(server.display().c_str());
  const xcb_atom_t clipboard = probe.atom("CLIPBOARD");
  auto ownerOf = [&] {
    auto* r = xcb_get_selection_owner_reply(probe.connection(), xcb_get_selection_owner(probe.connection(), clipboard),
                                            nullptr);
    xcb_window_t w = r ? r->owner : 0;
    free(r);
    return w;
  };
  const xcb_window_t ours = ownerOf();
  std::atomic<bool> stop{false};
  std::thread offering([&] { other.offer(utf8, stop, 65536 + 1); });  // odd pieces split characters
  struct Joiner {
    std::atomic<bool>& stop;
    std::thread& thread;
    ~Joiner() {
      stop = true;
      thread.join();
    }
  } joiner{stop, offering};
  ASSERT_TRUE(test::pumpUntil([&] { return ownerOf() != ours; }));
  ASSERT_TRUE(OpenClipboard(owner));
  HANDLE h = GetClipboardData(CF_TEXT);
  ASSERT_NE(h, nullptr);
  std::string got((const char*)GlobalLock(h));
  GlobalUnlock(h);
  CloseClipboard();
  EXPECT_GT(other.pieces(), 30u);
  ASSERT_EQ(got.size(), ansi.size());
  EXPECT_TRUE(got == ansi);
}

}  // namespace
