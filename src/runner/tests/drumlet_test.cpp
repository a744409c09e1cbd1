// Drumlet as a process: the sample application and the failures of
// start-up, seen through the exit code and the boxes printed on stderr.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <winreg.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "testapp.h"

namespace fs = std::filesystem;

namespace {

struct DrumletRun {
  int exitCode = -1;
  std::string output;
};

// Runs Drumlet with its boxes printed (they answer by themselves) and a home
// of its own, so that no user's documents folder takes part.
// `environment` adds variables; `program` replaces the built Drumlet.
DrumletRun runDrumlet(const std::string& arguments, const fs::path& home, const std::string& environment = "",
                      const fs::path& program = fs::path(KY_BIN_DIR) / "Drumlet") {
  std::string command = "cd '" + home.string() + "' && env -u KY_MESSAGEBOX_QUIET -u KY_MESSAGEBOX_ANSWERS HOME='" +
                        home.string() + "' KY_WIN_INI='" + (home / "WIN.INI").string() + "' " + environment +
                        " timeout 60 '" + program.string() + "' " + arguments + " 2>&1";
  DrumletRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[512];
  while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
  int status = pclose(pipe);
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

TEST(Drumlet, RunsTheMainFunctionAndEnds) {
  struct Case {
    const char* arguments;
    int exitCode;
    const char* shown;  // a text that must be on stderr
  } cases[] = {
      {"SAMPLE Sample", 0, "The main function Sample ran."},
      {"sample", 0, "The main function Sample ran."},
      {"/ENV key SAMPLE.DLL Sample", 0, "The main function Sample ran."},
      {"MISSING", 1, "The library MISSING.DLL could not be loaded."},
      // Nothing but "/ENV" and its key: the library named after the program.
      {"/ENV key", 1, "DRUMLET.DLL could not be loaded."},
      {"SAMPLE NOSUCH", 1, "NOSUCH cannot be run: its entry NOSUCH is missing in SAMPLE.DLL."},
  };
  for (const Case& c : cases) {
    kytest::ScratchDir scratch;
    DrumletRun run = runDrumlet(c.arguments, scratch.path());
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.arguments << "\n" << run.output;
    if (c.exitCode != 0) {
      EXPECT_EQ(run.output.find("ran."), std::string::npos) << run.output;
    }
  }
}

// "/REMOTE_THREAD" starts no main function (and loads no library named
// after it); "/Register" in any case registers and ends without one.
TEST(Drumlet, StartsNoMainFunctionForRemoteThreadOrRegistration) {
  for (const char* arguments : {"/REMOTE_THREAD", "/Register", "-REGISTER", "/register SAMPLE"}) {
    kytest::ScratchDir scratch;
    DrumletRun run =
        runDrumlet(arguments, scratch.path(), "KY_REGISTRY='" + (scratch.path() / "REGISTRY.DAT").string() + "'");
    EXPECT_EQ(run.exitCode, 0) << arguments << "\n" << run.output;
    EXPECT_EQ(run.output, "") << arguments;
  }
}

// "/Register" writes the automation class into the registry: its ProgID and
// CLSID, served by this Drumlet as a local server. A registry that cannot be
// written ends the run with 1.
TEST(Drumlet, RegistrationWritesTheAutomationClass) {
  kytest::ScratchDir scratch;
  const fs::path registry = scratch.path() / "REGISTRY.DAT";
  DrumletRun run = runDrumlet("/Register", scratch.path(), "KY_REGISTRY='" + registry.string() + "'");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string clsid = "{67132B1E-B38A-4485-8D93-F9EF94A29607}";
  const std::string program = fs::canonical(fs::path(KY_BIN_DIR) / "Drumlet").string();
  struct Case {
    std::string key, value;
  } cases[] = {{"kyRunOLE721RC.App\\CLSID", clsid},
               {"CLSID\\" + clsid + "\\ProgID", "kyRunOLE721RC.App"},
               {"CLSID\\" + clsid + "\\LocalServer32", program}};
  ::setenv("KY_REGISTRY", registry.c_str(), 1);
  for (const Case& c : cases) {
    char value[512] = {};
    LONG size = sizeof value;
    EXPECT_EQ(RegQueryValueA(HKEY_CLASSES_ROOT, c.key.c_str(), value, &size), ERROR_SUCCESS) << c.key;
    EXPECT_EQ(std::string(value), c.value) << c.key;
  }
  ::unsetenv("KY_REGISTRY");

  std::ofstream(scratch.path() / "file") << "not a folder";
  run = runDrumlet("/Register", scratch.path(), "KY_REGISTRY='" + (scratch.path() / "file" / "REGISTRY.DAT").string() + "'");
  EXPECT_EQ(run.exitCode, 1) << run.output;
}

// A main function that fails inside the call manager or inside its entry
// ends the run with 1 and shows its one box; the test libraries lie in
// bin/ beside Drumlet.
TEST(Drumlet, FailedMainFunctionEndsWithOne) {
  struct Case {
    const char* arguments;
    int exitCode;
    const char* shown;  // a part of the one box; "" for none
  } cases[] = {
      {"TESTFN TestNop", 0, ""},
      {"TESTFN TestFn a b", 0, ""},
      // Refused by the version test although the entry exists.
      {"TESTV720 TestFn", 1, "TESTV720.DLL"},
      // The entry runs, but its function has no panel library.
      {"TESTNOPN TestFn", 1, "TESTNOPN.PNL"},
  };
  for (const Case& c : cases) {
    kytest::ScratchDir scratch;
    DrumletRun run = runDrumlet(c.arguments, scratch.path());
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
    if (*c.shown) {
      EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.arguments << "\n" << run.output;
      const size_t first = run.output.find("[message box]");
      EXPECT_EQ(run.output.find("[message box]", first + 1), std::string::npos) << "one box only\n" << run.output;
    } else {
      EXPECT_EQ(run.output, "") << c.arguments;
    }
  }
}

// The user's INI asks for German, which is not installed: the English
// library's box names the missing file and the start-up fails.
TEST(Drumlet, MissingLanguageEndsTheRun) {
  kytest::ScratchDir scratch;
  fs::create_directories(scratch.path() / "Documents" / "Drumlet");
  kytest::writeFile(scratch.path() / "Documents" / "Drumlet" / "Drumlet.INI",
                    "[International Settings]\nOrvo Zunt Language=DEU\n");
  DrumletRun run = runDrumlet("SAMPLE Sample", scratch.path());
  EXPECT_EQ(run.exitCode, 1) << run.output;
  EXPECT_NE(run.output.find("KY721LNC.DEU"), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("ran."), std::string::npos) << run.output;
}

// A language or function library copied half-way is refused with the box of
// a library that cannot be loaded; the runner never maps it and crashes.
TEST(Drumlet, CutLibrariesEndTheRunWithTheirBox) {
  const auto readAll = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  };
  const std::string language = readAll(fs::path(KY_BIN_DIR) / "KY721LNC.ENG");
  const std::string function = readAll(fs::path(KY_BIN_DIR) / "SAMPLE.DLL");
  ASSERT_GT(language.size(), 4096u);
  ASSERT_GT(function.size(), 4096u);
  for (double part : {0.02, 0.3, 0.6, 0.99}) {
    {
      kytest::ScratchDir scratch;
      fs::create_directories(scratch.path() / "Documents" / "Drumlet");
      kytest::writeFile(scratch.path() / "Documents" / "Drumlet" / "Drumlet.INI",
                        "[International Settings]\nOrvo Zunt Language=CUT\n");
      kytest::writeFile(scratch.path() / "KY721LNC.CUT", language.substr(0, language.size() * part));
      DrumletRun run = runDrumlet("SAMPLE Sample", scratch.path());
      EXPECT_EQ(run.exitCode, 1) << part << "\n" << run.output;
      EXPECT_NE(run.output.find("KY721LNC.CUT"), std::string::npos) << part << "\n" << run.output;
    }
    {
      kytest::ScratchDir scratch;
      kytest::writeFile(scratch.path() / "CUTAPP.DLL", function.substr(0, function.size() * part));
      DrumletRun run = runDrumlet("CUTAPP Sample", scratch.path());
      EXPECT_EQ(run.exitCode, 1) << part << "\n" << run.output;
      EXPECT_NE(run.output.find("The library CUTAPP.DLL could not be loaded."), std::string::npos)
          << part << "\n" << run.output;
    }
  }
}

// The sample application's main function AAzqF with its panel: the run
// saves a picture of the panel; Escape (through the keyboard hook, as the
// main job presses it) or the frame's close request raises its Close event,
// the function returns and the run ends with 0.
TEST(Drumlet, RunsTheSamplePanelUntilItCloses) {
  for (const char* ending : {"key:Escape", "close"}) {
    kytest::ScratchDir scratch;
    const fs::path png = scratch.path() / "panel.png";
    DrumletRun run = runDrumlet("AAZQF", scratch.path(),
                                "KY_INPUT_SCRIPT='snapshot:" + png.string() + ";" + ending + "'");
    EXPECT_EQ(run.exitCode, 0) << ending << run.output;
    EXPECT_NE(run.output.find("snapshot: " + png.string()), std::string::npos) << run.output;
    EXPECT_TRUE(fs::exists(png)) << ending;
    EXPECT_EQ(run.output.find("[message box]"), std::string::npos) << run.output;
  }
}

// A runner beside AAZQF.DLL without its panel library, or with a panel
// library that holds no panel: the call fails with its box, the run ends
// with 1, nothing crashes.
TEST(Drumlet, MissingOrDamagedPanelLibraryEndsTheRunWithItsBox) {
  struct Case {
    const char* what;
    const char* panelLibrary;  // copied in as AAZQF.PNL; null: none
    const char* shown;
  } cases[] = {{"missing", nullptr, "AAZQF.PNL"}, {"damaged", "SAMPLE.PNL", "The window of the panel could not be created."}};
  for (const Case& c : cases) {
    kytest::ScratchDir scratch;
    const fs::path bin = scratch.path() / "bin";
    fs::create_directories(bin);
    for (const char* file : {"Drumlet", "KY721LNC.ENG", "AAZQF.DLL"}) fs::copy_file(fs::path(KY_BIN_DIR) / file, bin / file);
    if (c.panelLibrary) fs::copy_file(fs::path(KY_BIN_DIR) / c.panelLibrary, bin / "AAZQF.PNL");
    DrumletRun run = runDrumlet("AAZQF", scratch.path(), "KY_INPUT_SCRIPT=close", bin / "Drumlet");
    EXPECT_EQ(run.exitCode, 1) << c.what << "\n" << run.output;
    EXPECT_NE(run.output.find("[message box]"), std::string::npos) << c.what << "\n" << run.output;
    EXPECT_NE(run.output.find(c.shown), std::string::npos) << c.what << "\n" << run.output;
  }
}

}  // namespace
