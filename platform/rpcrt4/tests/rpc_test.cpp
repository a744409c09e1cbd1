// RPCRT4.DLL and RPCNS4.DLL loaded by name: string bindings, a server that
// dispatches to an interface over TCP and over a named pipe (and answers
// faults for an unknown interface or procedure), NDR routines that stay
// inside the reply, the name service and the endpoint map, and security
// that no provider gives.
#include <gtest/gtest.h>
#include <rpc.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

template <typename Fn>
Fn bind(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

RPC_CSTR cstr(const char* s) { return reinterpret_cast<RPC_CSTR>(const_cast<char*>(s)); }

// Procedure 0 of the echo interface: the request's bytes come back reversed.
RPC_STATUS reverse(PRPC_MESSAGE m);
HMODULE g_runtime;

const RPC_DISPATCH_FUNCTION kProcedures[] = {reverse};
const RPC_DISPATCH_TABLE kTable = {1, kProcedures};
const RPC_SERVER_INTERFACE kEcho = {
    sizeof(RPC_SERVER_INTERFACE),
    {{0x12345678, 0x1234, 0x5678, {1, 2, 3, 4, 5, 6, 7, 8}}, {1, 0}},
    {{0x8a885d04, 0x1ceb, 0x11c9, {0x9f, 0xe8, 0x08, 0x00, 0x2b, 0x10, 0x48, 0x60}}, {2, 0}},
    &kTable};
const RPC_CLIENT_INTERFACE kEchoClient = {sizeof(RPC_CLIENT_INTERFACE), kEcho.InterfaceId, kEcho.TransferSyntax};
const RPC_CLIENT_INTERFACE kOther = {
    sizeof(RPC_CLIENT_INTERFACE), {{0x99999999, 0, 0, {0}}, {1, 0}}, kEcho.TransferSyntax};

RPC_STATUS reverse(PRPC_MESSAGE m) {
  std::string bytes(static_cast<char*>(m->Buffer), m->BufferLength);
  std::string reversed(bytes.rbegin(), bytes.rend());
  m->BufferLength = static_cast<unsigned int>(reversed.size());
  const RPC_STATUS status = bind<I_RpcGetBufferFn>(g_runtime, "I_RpcGetBuffer")(m);
  if (status == RPC_S_OK) std::memcpy(m->Buffer, reversed.data(), reversed.size());
  return status;
}

class Rpc : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() / ("rpc_test_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    ::setenv("KY_RPC_NAMESERVICE", (dir_ / "RPCNS.INI").c_str(), 1);
    ::setenv("KY_RPC_PIPES", (dir_ / "pipes").c_str(), 1);
    g_runtime = runtime_ = LoadLibraryA(KY_BIN_DIR "/RPCRT4.DLL");
    nameService_ = LoadLibraryA(KY_BIN_DIR "/RPCNS4.DLL");
    ASSERT_NE(runtime_, nullptr);
    ASSERT_NE(nameService_, nullptr);
  }
  void TearDown() override {
    FreeLibrary(nameService_);
    FreeLibrary(runtime_);
    std::filesystem::remove_all(dir_);
  }
  template <typename Fn>
  Fn rt(const char* name) {
    return bind<Fn>(runtime_, name);
  }
  // Serves the echo interface on the protocol sequences; its bindings.
  std::vector<std::string> serve(std::vector<const char*> protseqs) {
    for (const char* p : protseqs)
      EXPECT_EQ(rt<RpcServerUseProtseqAFn>("RpcServerUseProtseqA")(cstr(p), 10, nullptr), RPC_S_OK);
    EXPECT_EQ(
        rt<RpcServerRegisterIfFn>("RpcServerRegisterIf")(const_cast<RPC_SERVER_INTERFACE*>(&kEcho), nullptr, nullptr),
        RPC_S_OK);
    EXPECT_EQ(rt<RpcServerListenFn>("RpcServerListen")(1, 10, 1), RPC_S_OK);
    RPC_BINDING_VECTOR* vector = nullptr;
    EXPECT_EQ(rt<RpcServerInqBindingsFn>("RpcServerInqBindings")(&vector), RPC_S_OK);
    std::vector<std::string> texts;
    for (unsigned long i = 0; vector && i < vector->Count; ++i) {
      RPC_CSTR text = nullptr;
      rt<RpcBindingToStringBindingAFn>("RpcBindingToStringBindingA")(vector->BindingH[i], &text);
      texts.push_back(reinterpret_cast<char*>(text));
      rt<RpcStringFreeAFn>("RpcStringFreeA")(&text);
    }
    rt<RpcBindingVectorFreeFn>("RpcBindingVectorFree")(&vector);
    return texts;
  }
  void stopServing() {
    EXPECT_EQ(rt<RpcMgmtStopServerListeningFn>("RpcMgmtStopServerListening")(nullptr), RPC_S_OK);
    rt<RpcServerUnregisterIfFn>("RpcServerUnregisterIf")(const_cast<RPC_SERVER_INTERFACE*>(&kEcho), nullptr, 0);
  }
  RPC_BINDING_HANDLE binding(const std::string& text) {
    RPC_BINDING_HANDLE h = nullptr;
    EXPECT_EQ(rt<RpcBindingFromStringBindingAFn>("RpcBindingFromStringBindingA")(cstr(text.c_str()), &h), RPC_S_OK)
        << text;
    return h;
  }
  void free(RPC_BINDING_HANDLE h) { rt<RpcBindingFreeFn>("RpcBindingFree")(&h); }
  // One call of procedure procNum of the interface with the bytes as a
  // conformant array; the reply's bytes, and the status.
  std::string call(RPC_BINDING_HANDLE h, const RPC_CLIENT_INTERFACE& iface, unsigned procNum, const std::string& bytes,
                   RPC_STATUS* status) {
    const MIDL_STUB_DESC desc = {&iface, nullptr, nullptr};
    RPC_MESSAGE message;
    MIDL_STUB_MESSAGE m;
    rt<NdrClientInitializeNewFn>("NdrClientInitializeNew")(&message, &m, &desc, procNum);
    m.MaxCount = static_cast<unsigned long>(bytes.size());
    rt<NdrConformantArrayBufferSizeFn>("NdrConformantArrayBufferSize")(&m, nullptr, nullptr);
    rt<NdrGetBufferFn>("NdrGetBuffer")(&m, m.BufferLength, h);
    rt<NdrConformantArrayMarshallFn>("NdrConformantArrayMarshall")(
        &m, reinterpret_cast<unsigned char*>(const_cast<char*>(bytes.data())), nullptr);
    rt<NdrSendReceiveFn>("NdrSendReceive")(&m, m.Buffer);
    std::string reply(reinterpret_cast<char*>(m.BufferStart ? m.BufferStart : nullptr),
                      m.BufferStart ? static_cast<size_t>(m.BufferEnd - m.BufferStart) : 0);
    rt<NdrFreeBufferFn>("NdrFreeBuffer")(&m);
    *status = m.Status;
    return reply;
  }

  std::filesystem::path dir_;
  HMODULE runtime_ = nullptr, nameService_ = nullptr;
};

TEST_F(Rpc, StringBindingsComposeAndParse) {
  struct Case {
    const char *uuid, *protseq, *address, *endpoint, *options, *text;
  } cases[] = {
      {"", "ncacn_ip_tcp", "host", "4711", "", "ncacn_ip_tcp:host[4711]"},
      {"", "ncacn_np", "\\\\HOST", "\\pipe\\x", "", "ncacn_np:\\\\HOST[\\pipe\\x]"},
      {"", "ncacn_np", "", "\\pipe\\x", "Security=Impersonation", "ncacn_np:[\\pipe\\x,Security=Impersonation]"},
      {"u-u", "ncacn_ip_tcp", "h", "", "", "u-u@ncacn_ip_tcp:h"}};
  for (const Case& c : cases) {
    RPC_CSTR text = nullptr;
    ASSERT_EQ(rt<RpcStringBindingComposeAFn>("RpcStringBindingComposeA")(cstr(c.uuid), cstr(c.protseq), cstr(c.address),
                                                                         cstr(c.endpoint), cstr(c.options), &text),
              RPC_S_OK);
    EXPECT_STREQ(reinterpret_cast<char*>(text), c.text);
    RPC_CSTR parts[5] = {};
    ASSERT_EQ(rt<RpcStringBindingParseAFn>("RpcStringBindingParseA")(text, &parts[0], &parts[1], &parts[2], &parts[3],
                                                                     &parts[4]),
              RPC_S_OK);
    const char* expected[5] = {c.uuid, c.protseq, c.address, c.endpoint, c.options};
    for (int i = 0; i < 5; ++i) {
      EXPECT_STREQ(reinterpret_cast<char*>(parts[i]), expected[i]) << c.text << " part " << i;
      rt<RpcStringFreeAFn>("RpcStringFreeA")(&parts[i]);
    }
    rt<RpcStringFreeAFn>("RpcStringFreeA")(&text);
  }
}

TEST_F(Rpc, BindingsOfOtherSequencesOrBadTextsAreRefused) {
  struct Case {
    const char* text;
    RPC_STATUS status;
  } cases[] = {{"ncacn_http:host[80]", RPC_S_PROTSEQ_NOT_SUPPORTED},
               {"no colon", RPC_S_INVALID_STRING_BINDING},
               {"ncacn_ip_tcp:host[4711", RPC_S_INVALID_STRING_BINDING},
               {"ncacn_ip_tcp:host[4711]x", RPC_S_INVALID_STRING_BINDING}};
  for (const Case& c : cases) {
    RPC_BINDING_HANDLE h = reinterpret_cast<RPC_BINDING_HANDLE>(1);
    EXPECT_EQ(rt<RpcBindingFromStringBindingAFn>("RpcBindingFromStringBindingA")(cstr(c.text), &h), c.status) << c.text;
    EXPECT_EQ(h, nullptr);
  }
}

TEST_F(Rpc, ServerDispatchesOverBothSequencesAndAnswersFaults) {
  const std::vector<std::string> bindings = serve({"ncacn_ip_tcp", "ncacn_np"});
  ASSERT_EQ(bindings.size(), 2u);
  for (const std::string& text : bindings) {
    RPC_BINDING_HANDLE h = binding(text);
    RPC_STATUS status = -1;
    const std::string reply = call(h, kEchoClient, 0, "abcdef", &status);
    EXPECT_EQ(status, RPC_S_OK) << text;
    // The array as it went (count, then bytes), reversed by the procedure.
    const std::string sent = std::string("\x06\0\0\0", 4) + "abcdef";
    EXPECT_EQ(reply, std::string(sent.rbegin(), sent.rend())) << text;
    call(h, kEchoClient, 5, "x", &status);
    EXPECT_EQ(status, RPC_S_PROCNUM_OUT_OF_RANGE);
    call(h, kOther, 0, "x", &status);
    EXPECT_EQ(status, RPC_S_UNKNOWN_IF);
    free(h);
  }
  stopServing();
  RPC_BINDING_HANDLE h = binding(bindings[0]);
  RPC_STATUS status = -1;
  call(h, kEchoClient, 0, "x", &status);
  EXPECT_EQ(status, RPC_S_SERVER_UNAVAILABLE);
  free(h);
}

TEST_F(Rpc, UnmarshallingStaysInsideTheReply) {
  struct Case {
    std::string reply;
    unsigned long expected;  // the count the caller's memory holds
    RPC_STATUS status;
  } cases[] = {{std::string("\x03\0\0\0xyz", 7), 3, RPC_S_OK},
               {std::string("\x03\0\0\0xy", 6), 3, RPC_X_BAD_STUB_DATA},         // cut short
               {std::string("\xFF\xFF\xFF\x7Fxyz", 7), 3, RPC_X_BAD_STUB_DATA},  // a count beyond the reply
               {std::string("\x02\0\0\0xy", 6), 3, RPC_X_BAD_STUB_DATA},         // another count than expected
               {std::string("\x03\0", 2), 3, RPC_X_BAD_STUB_DATA}};
  for (const Case& c : cases) {
    std::vector<unsigned char> reply(c.reply.begin(), c.reply.end());
    RPC_MESSAGE message{};
    MIDL_STUB_MESSAGE m{};
    m.RpcMsg = &message;
    m.Buffer = m.BufferStart = reply.data();
    m.BufferEnd = reply.data() + reply.size();
    m.MaxCount = c.expected;
    unsigned char memory[4] = {'-', '-', '-', '-'};
    unsigned char* target = memory;
    rt<NdrConformantArrayUnmarshallFn>("NdrConformantArrayUnmarshall")(&m, &target, nullptr, 0);
    EXPECT_EQ(m.Status, c.status) << c.reply.size();
    EXPECT_EQ(std::string(reinterpret_cast<char*>(memory), 4), c.status == RPC_S_OK ? "xyz-" : "----");
  }
}

TEST_F(Rpc, NameServiceAndEndpointMapGiveTheServersBindings) {
  const std::vector<std::string> bindings = serve({"ncacn_ip_tcp", "ncacn_np"});
  RPC_BINDING_VECTOR* vector = nullptr;
  rt<RpcServerInqBindingsFn>("RpcServerInqBindings")(&vector);
  auto exportA = bind<RpcNsBindingExportAFn>(nameService_, "RpcNsBindingExportA");
  auto* iface = const_cast<RPC_SERVER_INTERFACE*>(&kEcho);
  ASSERT_EQ(exportA(RPC_C_NS_SYNTAX_DEFAULT, cstr("/.:/ECHO"), iface, vector, nullptr), RPC_S_OK);
  ASSERT_EQ(rt<RpcEpRegisterAFn>("RpcEpRegisterA")(iface, vector, nullptr, nullptr), RPC_S_OK);
  rt<RpcBindingVectorFreeFn>("RpcBindingVectorFree")(&vector);

  RPC_NS_HANDLE context = nullptr;
  ASSERT_EQ(bind<RpcNsBindingImportBeginAFn>(nameService_, "RpcNsBindingImportBeginA")(
                RPC_C_NS_SYNTAX_DEFAULT, cstr("/.:/ECHO"), iface, nullptr, &context),
            RPC_S_OK);
  std::vector<std::string> imported;
  RPC_BINDING_HANDLE h = nullptr;
  while (bind<RpcNsBindingImportNextFn>(nameService_, "RpcNsBindingImportNext")(context, &h) == RPC_S_OK) {
    RPC_CSTR text = nullptr;
    rt<RpcBindingToStringBindingAFn>("RpcBindingToStringBindingA")(h, &text);
    imported.push_back(reinterpret_cast<char*>(text));
    rt<RpcStringFreeAFn>("RpcStringFreeA")(&text);
    free(h);
  }
  bind<RpcNsBindingImportDoneFn>(nameService_, "RpcNsBindingImportDone")(&context);
  EXPECT_EQ(imported, bindings);
  EXPECT_EQ(bind<RpcNsBindingImportBeginAFn>(nameService_, "RpcNsBindingImportBeginA")(
                RPC_C_NS_SYNTAX_DEFAULT, cstr("/.:/NOBODY"), iface, nullptr, &context),
            RPC_S_ENTRY_NOT_FOUND);

  // A binding without its endpoint finds it in the map, and then calls.
  const std::string address = bindings[0].substr(0, bindings[0].find('['));
  h = binding(address);
  auto resolve = rt<RpcEpResolveBindingFn>("RpcEpResolveBinding");
  ASSERT_EQ(resolve(h, iface), RPC_S_OK);
  RPC_STATUS status = -1;
  call(h, kEchoClient, 0, "ab", &status);
  EXPECT_EQ(status, RPC_S_OK);
  RPC_BINDING_HANDLE other = binding(address);
  EXPECT_EQ(resolve(other, const_cast<RPC_CLIENT_INTERFACE*>(&kOther)), EPT_S_NOT_REGISTERED);
  free(other);

  // No security provider is installed.
  auto authInfo = rt<RpcBindingSetAuthInfoAFn>("RpcBindingSetAuthInfoA");
  EXPECT_EQ(authInfo(h, nullptr, 6, RPC_C_AUTHN_WINNT, nullptr, 0), RPC_S_UNKNOWN_AUTHN_SERVICE);
  EXPECT_EQ(authInfo(h, nullptr, 1, RPC_C_AUTHN_NONE, nullptr, 0), RPC_S_OK);
  free(h);
  stopServing();
}

}  // namespace
