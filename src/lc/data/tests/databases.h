// Real databases for the data-access tests: SQLite files through the SQLite
// ODBC driver, and the PostgreSQL cluster of the test program (pgcluster.h).
// Each test gets an application context whose INI file is its own.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "pgcluster.h"

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyMsg.h"

namespace dbtest {

namespace fs = std::filesystem;

// The application of a test, recording what goes to the message log.
class LoggingApp : public kytest::TestClientApp {
 public:
  using kytest::TestClientApp::TestClientApp;
  void LogMessage(const KyMsg& msg) override { log.push_back(msg.GetText().c_str()); }
  void LogMessage(const char* pszText) override { log.push_back(pszText ? pszText : ""); }
  std::vector<std::string> log;
};

// The test program's own directory for its ODBC.INI and SQLite file (the
// driver manager keeps what it read of ODBC.INI, so their paths stay).
inline const std::string& programDir() {
  // Removed with the program's statics at its end.
  struct Dir {
    Dir() {
      char pattern[] = "/tmp/ky_data_XXXXXX";
      path = mkdtemp(pattern) ? pattern : "";
    }
    ~Dir() {
      if (!path.empty()) fs::remove_all(path);
    }
    std::string path;
  };
  static const Dir dir;
  return dir.path;
}

// A test's application context and INI file, and ODBC.INI with two data
// sources: "sqlite" (a file of the test program) and "pg" (its cluster).
class DataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // OCI.DLL is found along the path, as beside an installed program.
    if (const char* path = std::getenv("PATH"); !path || !std::strstr(path, KY_BIN_DIR))
      setenv("PATH", (std::string(KY_BIN_DIR) + ":" + (path ? path : "")).c_str(), 1);
    sqliteFile_ = programDir() + "/db.sqlite";
    odbcIni_ = programDir() + "/odbc.ini";
    writeOdbcIni();
    kytest::writeFile(ini_, "");
    app_ = std::make_unique<LoggingApp>("Data", ini_);
    context_ = app_->CreateContext();
  }
  void TearDown() override {
    app_->EndContext();
    app_.reset();
  }
  void writeOdbcIni() {
    std::string text = "[sqlite]\nDriver=SQLite3\nDatabase=" + sqliteFile_ + "\n";
    PostgresServer& pg = PostgresServer::Get();
    text += "[pg]\nDriver=PostgreSQL Unicode\nServername=" + pg.socketDir() +
            "\nPort=5432\nDatabase=postgres\nUsername=postgres\n";
    kytest::writeFile(odbcIni_, text);
    setenv("ODBCINI", odbcIni_.c_str(), 1);
  }
  void setIni(const std::string& text) {
    kytest::writeFile(ini_, text);
    context_->GetRunOptions()->Load();
  }
  std::vector<std::string>& log() { return app_->log; }

  kytest::ScratchDir dir_;
  kytest::LanguageLibrary language_;
  fs::path ini_ = dir_.path() / "APP.INI";
  fs::path odbcIni_;
  std::string sqliteFile_;
  std::unique_ptr<LoggingApp> app_;
  KyAppContext* context_ = nullptr;
};

}  // namespace dbtest
