// Real databases for the data-access tests: SQLite files through the SQLite
// ODBC driver, and a PostgreSQL cluster that the test program starts itself
// (initdb into a directory of its own, the server on a Unix socket in it, as
// the postgres user when the test runs as root) and stops at its end. Each
// test gets an application context whose INI file and ODBC.INI are its own.
#pragma once

#include <gtest/gtest.h>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <glob.h>
#include <memory>
#include <string>
#include <vector>

#include "../../app/tests/testapp.h"
#include "KyAppContext.h"
#include "KyMsg.h"

namespace dbtest {

namespace fs = std::filesystem;

// Runs a program (as uid/gid when given) and answers its exit status.
inline int run(const std::vector<std::string>& argv, uid_t uid = 0, gid_t gid = 0, bool quiet = true) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (quiet) {
      freopen("/dev/null", "w", stdout);
      freopen("/dev/null", "w", stderr);
    }
    if (uid != 0 && (setgid(gid) != 0 || setuid(uid) != 0)) _exit(126);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline std::string postgresBin(const char* program) {
  glob_t found{};
  std::string path;
  if (glob("/usr/lib/postgresql/*/bin/initdb", 0, nullptr, &found) == 0 && found.gl_pathc > 0)
    path = fs::path(found.gl_pathv[found.gl_pathc - 1]).parent_path() / program;
  globfree(&found);
  return path;
}

// One cluster per test program: started on first use, stopped at exit.
class PostgresServer {
 public:
  static PostgresServer& Get() {
    static PostgresServer server;
    return server;
  }
  bool running() const { return running_; }
  const std::string& socketDir() const { return dir_; }
  std::string connectString() const {
    return "DRIVER={PostgreSQL Unicode};Servername=" + dir_ + ";Port=5432;Database=postgres;UID=postgres;";
  }
  // Stops the server at once (crash-like) or starts it again.
  bool stop() { return running_ = ctl({"stop", "-m", "immediate"}) != 0 ? running_ : false; }
  bool start() { return running_ = ctl({"start", "-w", "-t", "30", "-o", options()}) == 0; }
  ~PostgresServer() {
    if (running_) ctl({"stop", "-m", "immediate"});
    if (!dir_.empty()) fs::remove_all(dir_);
  }

 private:
  PostgresServer() {
    char pattern[] = "/tmp/ky_pg_XXXXXX";
    if (!mkdtemp(pattern)) return;
    dir_ = pattern;
    if (geteuid() == 0) {
      const passwd* pw = getpwnam("postgres");
      if (!pw) return;
      uid_ = pw->pw_uid;
      gid_ = pw->pw_gid;
      chown(dir_.c_str(), uid_, gid_);
    }
    const std::string initdb = postgresBin("initdb");
    if (initdb.empty()) return;
    if (run({initdb, "-D", dir_ + "/data", "-U", "postgres", "-A", "trust", "--no-sync", "-E", "UTF8"}, uid_, gid_) != 0)
      return;
    start();
  }
  std::string options() const {
    return "-k " + dir_ + " -c listen_addresses='' -p 5432 -F -c fsync=off -c full_page_writes=off";
  }
  int ctl(std::vector<std::string> args) {
    std::vector<std::string> argv = {postgresBin("pg_ctl"), "-D", dir_ + "/data", "-l", dir_ + "/log"};
    argv.insert(argv.end(), args.begin(), args.end());
    return run(argv, uid_, gid_);
  }

  std::string dir_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  bool running_ = false;
};

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
  static const std::string dir = [] {
    char pattern[] = "/tmp/ky_data_XXXXXX";
    const std::string made = mkdtemp(pattern) ? pattern : "/tmp";
    std::atexit([] { fs::remove_all(programDir()); });
    return made;
  }();
  return dir;
}

// A test's application context and INI file, and ODBC.INI with two data
// sources: "sqlite" (a file of the test program) and "pg" (its cluster).
class DataTest : public ::testing::Test {
 protected:
  void SetUp() override {
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
