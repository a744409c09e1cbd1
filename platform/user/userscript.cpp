// The user interaction script's queues and its stderr announcements.
#include <internal/userscript.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace win32::script {

void AnswerQueue::primeOnce() {
  if (primed_) return;
  primed_ = true;
  const char* list = std::getenv(variable_);
  if (!list) return;
  std::string text(list);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(separator_, start);
    if (end == std::string::npos) end = text.size();
    std::string item = text.substr(start, end - start);
    size_t first = item.find_first_not_of(" \t");
    size_t last = item.find_last_not_of(" \t");
    if (first != std::string::npos) answers_.push_back(item.substr(first, last - first + 1));
    start = end + 1;
  }
}

void AnswerQueue::push(std::string answer) {
  std::lock_guard guard(lock_);
  primeOnce();
  answers_.push_back(std::move(answer));
}

std::optional<std::string> AnswerQueue::next() {
  std::lock_guard guard(lock_);
  primeOnce();
  if (answers_.empty()) return std::nullopt;
  std::string answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

void AnswerQueue::clear() {
  std::lock_guard guard(lock_);
  primed_ = true;
  answers_.clear();
}

size_t AnswerQueue::pending() {
  std::lock_guard guard(lock_);
  primeOnce();
  return answers_.size();
}

namespace {

AnswerQueue& mailDialogQueue() {
  static AnswerQueue queue("KY_MAILDIALOG_ANSWERS", '|');
  return queue;
}

}  // namespace

void pushMailDialogAnswer(const std::string& answer) { mailDialogQueue().push(answer); }
std::optional<std::string> nextMailDialogAnswer() { return mailDialogQueue().next(); }
void clearMailDialogAnswers() { mailDialogQueue().clear(); }

void announce(const std::string& line) {
  const char* quiet = std::getenv("KY_MESSAGEBOX_QUIET");
  if (quiet && std::strcmp(quiet, "1") == 0) return;
  std::fprintf(stderr, "%s\n", line.c_str());
  std::fflush(stderr);
}

}  // namespace win32::script
