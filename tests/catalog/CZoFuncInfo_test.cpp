// Tests of the catalogue base: ordering, first text wins, copies, Init.
#include "catalog/CZoFuncInfo.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

std::vector<std::string> Names(const CZoFuncInfo& catalog) {
  std::vector<std::string> names;
  for (const auto& entry : catalog) names.push_back(entry.first.Str());
  return names;
}

CZoFuncInfo Catalog(const std::vector<std::string>& names) {
  CZoFuncInfo catalog;
  for (const std::string& strName : names) catalog.insert({strName.c_str(), (strName + "()").c_str()});
  return catalog;
}

TEST(CatalogBase, FirstTextInsertedForANameStays) {
  CZoFuncInfo catalog;
  EXPECT_TRUE(catalog.insert({"Foo", "Foo(a)"}).second);
  EXPECT_FALSE(catalog.insert({"Foo", "Foo(b)"}).second);
  ASSERT_EQ(catalog.size(), 1u);
  EXPECT_EQ(catalog.find("Foo")->second, CString("Foo(a)"));
}

TEST(CatalogBase, NamesAreCaseSensitiveInByteOrder) {
  CZoFuncInfo catalog = Catalog({"foo", "alpha", "Foo", "Zeta", "\xE4pfel", "_x"});
  EXPECT_EQ(Names(catalog), (std::vector<std::string>{"Foo", "Zeta", "_x", "alpha", "foo", "\xE4pfel"}));
  EXPECT_EQ(catalog.find("foo")->second, CString("foo()"));
  EXPECT_EQ(catalog.find("FOO"), catalog.end());
}

TEST(CatalogBase, BaseInitReturnsFalseAndChangesNothing) {
  CZoFuncInfo catalog = Catalog({"A", "B"});
  EXPECT_FALSE(catalog.Init(nullptr));
  EXPECT_EQ(Names(catalog), (std::vector<std::string>{"A", "B"}));
}

class CCountingCatalog : public CZoFuncInfo {
 public:
  explicit CCountingCatalog(int* pnDestroyed) : m_pnDestroyed(pnDestroyed) {}
  ~CCountingCatalog() override { ++*m_pnDestroyed; }
  bool Init(CProjectManagerObject*) override {
    insert({"Derived", "Derived()"});
    return true;
  }

 private:
  int* m_pnDestroyed;
};

TEST(CatalogBase, InitAndDestructorDispatchThroughABasePointer) {
  static_assert(std::has_virtual_destructor<CZoFuncInfo>::value, "destroyed through base pointers");
  int nDestroyed = 0;
  std::unique_ptr<CZoFuncInfo> pCatalog(new CCountingCatalog(&nDestroyed));
  EXPECT_TRUE(pCatalog->Init(nullptr));
  EXPECT_EQ(Names(*pCatalog), std::vector<std::string>{"Derived"});
  pCatalog.reset();
  EXPECT_EQ(nDestroyed, 1);
}

TEST(CatalogBase, CopyIsIndependentOfItsSource) {
  CZoFuncInfo source = Catalog({"A", "B"});
  CZoFuncInfo copy(source);
  copy.insert({"C", "C()"});
  copy.find("A")->second = "changed";
  EXPECT_EQ(Names(source), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(source.find("A")->second, CString("A()"));
  EXPECT_EQ(Names(copy), (std::vector<std::string>{"A", "B", "C"}));
}

TEST(CatalogBase, AssignmentReplacesEveryEntry) {
  CZoFuncInfo source = Catalog({"X", "Y"});
  CZoFuncInfo target = Catalog({"A", "B", "C", "D", "E"});
  target = source;
  EXPECT_EQ(Names(target), (std::vector<std::string>{"X", "Y"}));
  source.insert({"Z", "Z()"});
  EXPECT_EQ(target.size(), 2u);
}

TEST(CatalogBase, SelfAssignmentKeepsTheEntries) {
  CZoFuncInfo catalog = Catalog({"A", "B"});
  CZoFuncInfo& alias = catalog;
  catalog = alias;
  EXPECT_EQ(Names(catalog), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(catalog.find("B")->second, CString("B()"));
}

}  // namespace
