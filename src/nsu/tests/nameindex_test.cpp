// The name index against a model of the same entries: a random sequence of
// adds, changes, removes and look-ups, names matched without case, and the
// tree checked whole afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "KyNameIndex.h"
#include "NameIndexTree.h"
#include "scratchdir.h"

namespace {

std::string upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::vector<LONG>* g_walked = nullptr;
void collect(LONG v) { g_walked->push_back(v); }

// Entries as the index orders them: by upper-case name, then value.
using Model = std::map<std::pair<std::string, LONG>, int>;

LONG modelFind(const Model& m, const std::string& name) {
  auto it = m.lower_bound({upper(name), INT32_MIN});
  return it != m.end() && it->first.first == upper(name) ? it->first.second : 0;
}

std::vector<LONG> modelValues(const Model& m) {
  std::vector<LONG> out;
  for (const auto& [key, count] : m) out.insert(out.end(), count, key.second);
  return out;
}

TEST(NameIndex, AgreesWithAModelOverARandomSequence) {
  ScratchDir dir;
  std::string path = dir.File("names.idx");
  std::mt19937 rng(20261211);
  // Names of 1 to 31 characters in mixed case, some of exactly 31.
  std::vector<std::string> names;
  const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
  for (int i = 0; i < 3000; ++i) {
    size_t length = i % 10 == 0 ? 31 : 1 + rng() % 12;
    std::string n;
    for (size_t k = 0; k < length; ++k) n += letters[rng() % (sizeof letters - 1)];
    names.push_back(n);
  }
  auto anyName = [&] { return names[rng() % names.size()]; };
  auto otherCase = [&](std::string s) {
    for (char& c : s) c = rng() % 2 ? std::tolower(c) : std::toupper(c);
    return s;
  };
  Model model;
  {
    KyNameIndex index(path.c_str(), 6);  // a small cache: nodes come and go
    ASSERT_TRUE(index.IsUsable());
    for (int step = 0; step < 40000; ++step) {
      std::string name = anyName();
      LONG value = static_cast<LONG>(rng() % 7) - 2;  // several values per name, 0 and negatives among them
      switch (rng() % 8) {
        case 0: case 1: case 2: case 3:
          ASSERT_EQ(index.AddEntry(name.c_str(), value), 1);
          ++model[{upper(name), value}];
          break;
        case 4: {
          auto it = model.find({upper(name), value});
          int expected = it != model.end();
          ASSERT_EQ(index.RemoveEntry(otherCase(name).c_str(), value), expected) << name;
          if (it != model.end() && --it->second == 0) model.erase(it);
          break;
        }
        case 5: {
          std::string to = anyName();
          ASSERT_EQ(index.ChangeEntry(name.c_str(), to.c_str(), value), 1);
          // Added first, then removed: a change to the same name leaves it.
          ++model[{upper(to), value}];
          auto it = model.find({upper(name), value});
          if (--it->second == 0) model.erase(it);
          break;
        }
        default:
          ASSERT_EQ(index.FindEntry(otherCase(name).c_str()), modelFind(model, name)) << name << " at " << step;
      }
    }
    std::vector<LONG> walked;
    g_walked = &walked;
    index.WalkIndex(collect);
    g_walked = nullptr;
    EXPECT_EQ(walked, modelValues(model));
    EXPECT_TRUE(index.IsUsable());
  }
  // The closed file holds the same tree, whole and consistent.
  auto tree = NameIndexTree::Open(path.c_str(), 16, true);
  EXPECT_NO_THROW(tree->Verify());
  size_t total = 0;
  for (const auto& [key, count] : model) total += count;
  EXPECT_EQ(tree->IndexHeader().entries, total);
  EXPECT_GE(tree->IndexHeader().height, 3u);
  std::vector<LONG> walked;
  tree->Walk([&](int32_t v) { walked.push_back(v); });
  EXPECT_EQ(walked, modelValues(model));
}

TEST(NameIndex, NamesUpTo31CharactersWithoutRegardToCase) {
  ScratchDir dir;
  KyNameIndex index(dir.File("n.idx").c_str(), 8);
  const std::string longest(31, 'q'), tooLong(32, 'q');
  struct Case {
    const char* what;
    const char* name;
    int added;
  } cases[] = {
      {"31 characters", longest.c_str(), 1},
      {"32 characters are refused, not cut", tooLong.c_str(), 0},
      {"null", nullptr, 0},
      {"empty", "", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(index.AddEntry(c.name, 7), c.added) << c.what;
  EXPECT_EQ(index.FindEntry("QQQQQQQQQQQQQQQQQQQQQQQQQQQQQQQ"), 7);
  EXPECT_EQ(index.FindEntry(tooLong.c_str()), 0);  // no cut name matches it
  EXPECT_EQ(index.RemoveEntry(tooLong.c_str(), 7), 0);

  ASSERT_EQ(index.AddEntry("Customer", 3), 1);
  ASSERT_EQ(index.AddEntry("CUSTOMER", 1), 1);
  EXPECT_EQ(index.FindEntry("customer"), 1);  // the first of the name's values
  EXPECT_EQ(index.RemoveEntry("customer", 2), 0);
  EXPECT_EQ(index.RemoveEntry("customer", 1), 1);
  EXPECT_EQ(index.FindEntry("cUsToMeR"), 3);
}

TEST(NameIndex, AFailedChangeKeepsTheOldEntry) {
  ScratchDir dir;
  KyNameIndex index(dir.File("c.idx").c_str(), 8);
  ASSERT_EQ(index.AddEntry("OLD", 5), 1);
  EXPECT_EQ(index.ChangeEntry("OLD", std::string(40, 'N').c_str(), 5), 0);
  EXPECT_EQ(index.FindEntry("OLD"), 5);
  EXPECT_EQ(index.ChangeEntry("old", "New", 5), 1);
  EXPECT_EQ(index.FindEntry("OLD"), 0);
  EXPECT_EQ(index.FindEntry("NEW"), 5);
}

TEST(NameIndex, AnIndexThatCouldNotBeCreatedRefusesEverything) {
  ScratchDir dir;
  KyNameIndex index(dir.File("missing/dir/x.idx").c_str(), 8);
  EXPECT_FALSE(index.IsUsable());
  EXPECT_EQ(index.LastError(), ErrorCreatingFile);
  EXPECT_EQ(index.AddEntry("A", 1), 0);
  EXPECT_EQ(index.FindEntry("A"), 0);
  EXPECT_EQ(index.RemoveEntry("A", 1), 0);
  EXPECT_EQ(index.ChangeEntry("A", "B", 1), 0);
  index.WalkIndex(collect);  // nothing to walk, nothing called
}

}  // namespace
