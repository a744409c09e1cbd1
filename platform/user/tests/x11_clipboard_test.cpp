// The clipboard shared with another X client through the CLIPBOARD
// selection: text the program sets is pasted by the other client in UTF-8,
// delayed rendering included, and text the other client offers is read by
// the program in its three text formats.
#include "message_log.h"
#include "x11_client.h"

#include <internal/codepage.h>
#include <internal/xserver.h>

#include <gtest/gtest.h>

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
    xcb_create_window(connection(), 0, window_, root(), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    sync();
  }

  // The CLIPBOARD converted to `target`; false when refused or not answered.
  bool paste(const char* target, std::string& bytes, std::string* type = nullptr) {
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
          connection(), xcb_get_property(connection(), 1, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
          nullptr);
      if (!r) return false;
      bytes.assign((const char*)xcb_get_property_value(r), (size_t)xcb_get_property_value_length(r));
      if (type) *type = typeName(r->type);
      free(r);
      return true;
    }
    return false;
  }

  // Owns the CLIPBOARD with `utf8` and answers conversions until `stop`.
  void offer(const std::string& utf8, const std::atomic<bool>& stop) {
    xcb_set_selection_owner(connection(), window_, atom("CLIPBOARD"), XCB_CURRENT_TIME);
    sync();
    const xcb_atom_t utf8String = atom("UTF8_STRING");
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
        if (req->target == utf8String) {
          xcb_change_property(connection(), XCB_PROP_MODE_REPLACE, req->requestor, req->property, utf8String, 8,
                              (uint32_t)utf8.size(), utf8.data());
          n.property = req->property;
        }
        xcb_send_event(connection(), 0, req->requestor, 0, (const char*)&n);
        xcb_flush(connection());
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

}  // namespace
