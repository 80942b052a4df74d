// The user catalogue kept script by script must always hold what its Init
// would give over the same scripts in key order (the first definition of a
// name wins): checked after every step of random saves, removals and full
// indexes (with scripts set out of order during them), names shared between
// scripts and defined twice in one.
#include "tools/lsp/CLspCatalog.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

#include "module/SharedCatalogs.h"

namespace {

using nimbo::lsp::CLspCatalog;
using nimbo::lsp::CLspDefinition;
using nimbo::lsp::CLspScript;

typedef std::map<CString, std::vector<std::pair<CString, CString>>> CModel;  // key -> (name, prototype)

CLspScript MakeScript(const std::vector<std::pair<CString, CString>>& definitions) {
  CLspScript script;
  for (const auto& definition : definitions) {
    CLspDefinition made;
    made.strName = definition.first;
    made.strPrototype = definition.second;
    script.definitions.push_back(made);
  }
  return script;
}

std::vector<std::pair<CString, CString>> RandomDefinitions(std::mt19937& random) {
  static const char* const kNames[] = {"Alpha", "Beta", "Gamma", "Delta"};
  std::vector<std::pair<CString, CString>> definitions;
  const int nCount = static_cast<int>(random() % 4);
  for (int i = 0; i < nCount; ++i) {
    const CString strName = kNames[random() % 4];
    definitions.emplace_back(strName, strName + "(" + CString(static_cast<char>('a' + random() % 3)) + ")");
  }
  return definitions;
}

TEST(CLspCatalog, UserCatalogueAlwaysMatchesAFreshScanInKeyOrder) {
  static const char* const kKeys[] = {"a.nsc", "a-b/c.nsc", "a/b.nsc", "m.nsc", "z/z.nsc"};
  std::mt19937 random(20261208);
  CLspCatalog catalog;
  CModel model;
  for (int nStep = 0; nStep < 2000; ++nStep) {
    const CString strKey = kKeys[random() % 5];
    const unsigned nOp = random() % 10;
    if (nOp < 6) {
      model[strKey] = RandomDefinitions(random);
      catalog.SetScript(strKey, MakeScript(model[strKey]));
    } else if (nOp < 9) {
      model.erase(strKey);
      catalog.RemoveScript(strKey);
    } else {
      // A full index in key order, with one script changed out of order half-way.
      catalog.BeginFullIndex();
      size_t nAdded = 0;
      for (const auto& entry : model) {
        if (nAdded++ == model.size() / 2) {
          model[strKey] = RandomDefinitions(random);
          catalog.SetScript(strKey, MakeScript(model[strKey]));
        }
        catalog.AddInOrder(entry.first, MakeScript(entry.second));
      }
      catalog.EndFullIndex();
    }
    std::map<CString, CString> expected;
    std::map<CString, size_t> counts;
    for (const auto& entry : model)
      for (const auto& definition : entry.second) {
        expected.insert(definition);
        ++counts[definition.first];
      }
    const std::map<CString, CString> actual(g_FuncInfoUser.begin(), g_FuncInfoUser.end());
    ASSERT_EQ(actual, expected) << "step " << nStep;
    for (const auto& count : counts) ASSERT_EQ(catalog.DefinitionsOf(count.first).size(), count.second) << "step " << nStep;
  }
}

// Completion keeps the best nMax of one pass: whatever the limit, the list is
// the head of the unlimited list, and bMore tells whether it was cut.
TEST(CLspCatalog, CompletionWithALimitIsTheHeadOfTheWholeList) {
  static const char* const kParts[] = {"Str", "str", "Left", "_l", "Sum", "s", "L", "2"};
  std::mt19937 random(8122026);
  CLspCatalog catalog;
  std::vector<std::pair<CString, CString>> definitions;
  for (int i = 0; i < 300; ++i) {
    CString strName = "F";
    for (int nPart = 0; nPart < 3; ++nPart) strName += kParts[random() % 8];
    definitions.emplace_back(strName, strName + "()");
  }
  catalog.SetScript("names.nsc", MakeScript(definitions));
  for (const char* pszWord : {"", "s", "sl", "SL", "fs2", "zz"}) {
    bool bMore = true;
    const std::vector<CString> whole = catalog.Complete(pszWord, 100000, bMore);
    EXPECT_FALSE(bMore);
    for (const size_t nMax : {size_t(0), size_t(1), size_t(7), size_t(64)}) {
      const std::vector<CString> head = catalog.Complete(pszWord, nMax, bMore);
      const size_t nExpected = std::min(nMax, whole.size());
      ASSERT_EQ(head, std::vector<CString>(whole.begin(), whole.begin() + nExpected)) << pszWord << " " << nMax;
      EXPECT_EQ(bMore, whole.size() > nMax) << pszWord << " " << nMax;
    }
  }
}

}  // namespace
