// FormatData for the ten type/storage pairs that the run-time's fields
// hand over most (byte, short, long, 64-bit, float and double numbers,
// date, time, timestamp, masked text), each against snprintf writing the
// same text. Every pair first checks that both texts are equal.
#include <benchmark/benchmark.h>

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "datetime.h"
#include "formatdata.h"
#include "intlsettings.h"

namespace {

struct Pair {
  const char* name;
  char type;
  char storage;
  const char* picture;
  std::vector<uint8_t> value;
  std::function<int(char*, size_t)> printf;
};

template <typename T>
std::vector<uint8_t> bytesOf(T value) {
  std::vector<uint8_t> b(sizeof value);
  std::memcpy(b.data(), &value, sizeof value);
  return b;
}

// Three 16-bit fields: the 'd' date (year, month, day) and 't' time forms.
std::vector<uint8_t> words(std::initializer_list<uint16_t> fields) {
  std::vector<uint8_t> b(fields.size() * 2);
  std::memcpy(b.data(), fields.begin(), b.size());
  return b;
}

std::vector<uint8_t> timestamp() {
  // year, month, day, hour, minute, second (16 bits each), fraction (32).
  const uint16_t fields[6] = {2017, 2, 3, 13, 5, 9};
  std::vector<uint8_t> b(16, 0);
  std::memcpy(b.data(), fields, sizeof fields);
  return b;
}

std::vector<Pair> pairs() {
  return {
      {"n/b byte", 'n', 'b', "*0", bytesOf<uint8_t>(200), [](char* o, size_t n) { return std::snprintf(o, n, "%u", 200u); }},
      {"n/s short", 'n', 's', "*0", bytesOf<int16_t>(-1234), [](char* o, size_t n) { return std::snprintf(o, n, "%d", -1234); }},
      {"n/l long", 'n', 'l', "*0", bytesOf<int32_t>(123456789),
       [](char* o, size_t n) { return std::snprintf(o, n, "%d", 123456789); }},
      {"n/M 64-bit", 'n', 'M', "*0", bytesOf<int64_t>(-1234567890123LL),
       [](char* o, size_t n) { return std::snprintf(o, n, "%" PRId64, int64_t{-1234567890123LL}); }},
      {"n/f float", 'n', 'f', "*0.00", bytesOf<float>(3.25f), [](char* o, size_t n) { return std::snprintf(o, n, "%.2f", 3.25); }},
      {"n/d double", 'n', 'd', "*0.00", bytesOf<double>(-1234.5),
       [](char* o, size_t n) { return std::snprintf(o, n, "%.2f", -1234.5); }},
      {"d/d date", 'd', 'd', "mm/dd/yyyy", words({2017, 2, 3}),
       [](char* o, size_t n) { return std::snprintf(o, n, "%02d/%02d/%04d", 2, 3, 2017); }},
      {"t/t time", 't', 't', "hh:mm:ss", words({13, 5, 9}),
       [](char* o, size_t n) { return std::snprintf(o, n, "%02d:%02d:%02d", 13, 5, 9); }},
      {"a/s timestamp", 'a', 's', "mm/dd/yyyy hh:mm:ss", timestamp(),
       [](char* o, size_t n) { return std::snprintf(o, n, "%02d/%02d/%04d %02d:%02d:%02d", 2, 3, 2017, 13, 5, 9); }},
      {"m/s masked", 'm', 's', "(###) ###-####", std::vector<uint8_t>({'0', '3', '0', '1', '2', '3', '4', '5', '6', '7', 0}),
       [](char* o, size_t n) { return std::snprintf(o, n, "(%.3s) %.3s-%.4s", "030", "123", "4567"); }},
  };
}

void formatData(benchmark::State& state, const Pair& pair) {
  char out[256], expected[256];
  pair.printf(expected, sizeof expected);
  FormatData(pair.value.data(), pair.type, pair.storage, pair.picture, out, sizeof out, nullptr, 0);
  if (std::strcmp(out, expected) != 0) {
    state.SkipWithError((std::string("FormatData wrote ") + out + ", snprintf " + expected).c_str());
    return;
  }
  for (auto _ : state) {
    int negative = 0;
    benchmark::DoNotOptimize(
        FormatData(pair.value.data(), pair.type, pair.storage, pair.picture, out, sizeof out, &negative, 0));
    benchmark::ClobberMemory();
  }
}

void snprintfSame(benchmark::State& state, const Pair& pair) {
  char out[256];
  for (auto _ : state) {
    benchmark::DoNotOptimize(pair.printf(out, sizeof out));
    benchmark::ClobberMemory();
  }
}

// Registered at start-up, with the default international settings.
const bool registered = [] {
  static const std::vector<Pair> all = pairs();
  for (const Pair& pair : all) {
    benchmark::RegisterBenchmark((std::string("FormatData/") + pair.name).c_str(), formatData, pair);
    benchmark::RegisterBenchmark((std::string("snprintf/") + pair.name).c_str(), snprintfSame, pair);
  }
  return true;
}();

}  // namespace
