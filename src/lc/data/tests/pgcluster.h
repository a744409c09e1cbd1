// A PostgreSQL cluster of one test or benchmark program: initdb into a
// directory of its own under /tmp, the server listening only on a Unix
// socket in that directory (so parallel programs never share a port), run as
// the postgres user when the program runs as root; stopped and removed at
// the program's end. Fast start: no sync, no fsync.
#pragma once

#include <glob.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace dbtest {

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
    path = std::filesystem::path(found.gl_pathv[found.gl_pathc - 1]).parent_path() / program;
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
  // Stops the server at once (crash-like) or starts it again; true when
  // that worked.
  bool stop() {
    if (ctl({"stop", "-m", "immediate"}) == 0) running_ = false;
    return !running_;
  }
  bool start() { return running_ = ctl({"start", "-w", "-t", "30", "-o", options()}) == 0; }
  ~PostgresServer() {
    if (running_) ctl({"stop", "-m", "immediate"});
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
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

}  // namespace dbtest
