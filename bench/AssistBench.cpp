// Editor assistance benchmarks: filling the completion list, and the work of
// one key release while the function tip is open over a long argument list.
#include <string>

#include "BenchCommon.h"
#include "Win32CommCtrl.h"
#include "SimDesktop.h"
#include "Win32User.h"
#include "assist/CFuncTipScanner.h"
#include "assist/CZoListCtrlToolTipStaticFunc.h"
#include "assist/EditorLine.h"
#include "catalog/CZoFuncInfoStd.h"
#include "catalog/CZoFuncInfoUser.h"
#include "harness/CEditorHarness.h"
#include "module/SharedCatalogs.h"
#include "tamsin/CImageListEx.h"

namespace {

// ---- Completion list ------------------------------------------------------------

// Catalogues of nFunctions names in all, nine standard to one user function.
void FillCatalogues(CZoFuncInfoStd& std, CZoFuncInfoUser& user, int nFunctions) {
  char szName[32];
  for (int i = 0; i < nFunctions; ++i) {
    std::snprintf(szName, sizeof szName, "Function%06d", i);
    if (i % 10 == 9)
      user.insert({szName, CString(szName) + "(a, b)"});
    else
      std.insert({szName, CString(szName) + "(a, b)"});
  }
}

void BM_FillCompletionList(benchmark::State& state) {
  const int nFunctions = static_cast<int>(state.range(0));
  CSimDesktop::Reset();
  CZoFuncInfoStd std;
  CZoFuncInfoUser user;
  FillCatalogues(std, user, nFunctions);
  CImageListEx images;
  images.CreateEx();
  CZoListCtrlToolTipStaticFunc list(&std, &user, &images);
  // One fill of a new list view, only the fill itself timed when bTimed;
  // false when the list lacks items.
  auto Fill = [&](bool bTimed) {
    HWND hList = CreateWindowEx(0, WC_LISTVIEW, "", WS_POPUP | LVS_REPORT, 0, 0, 200, 300, nullptr, nullptr,
                                nullptr, nullptr);
    if (bTimed) state.ResumeTiming();
    list.Attach(hList);
    list.InsertListData();
    list.Detach();
    if (bTimed) state.PauseTiming();
    const bool bFull = SendMessage(hList, LVM_GETITEMCOUNT, 0, 0) == nFunctions;
    DestroyWindow(hList);
    return bFull;
  };
  // A fill before timing, as the load rows load once before theirs: the
  // memory the lists take comes from the system then, not within the first
  // timed fill, whatever the rows before this one left behind.
  if (!CheckOr(state, Fill(false), "the list lacks items")) return;
  for (auto _ : state) {
    state.PauseTiming();
    if (!Fill(true)) state.SkipWithError("the list lacks items");
    state.ResumeTiming();
  }
  state.counters["items"] = nFunctions;
}
// Both rows insert a million items in all: enough that a burst of load from
// a neighbour on this shared machine moves a row's mean little.
BENCHMARK(BM_FillCompletionList)->Arg(10000)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK(BM_FillCompletionList)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(10);

// ---- Key release with the tip open ---------------------------------------------

// An editor holding "Foo(" followed by nLines - 1 lines of arguments, with the
// caret at the end of the last line and the tip open.
class CTipSetup {
 public:
  explicit CTipSetup(int nLines) {
    CSimDesktop::Reset();
    g_FuncInfoStd.clear();
    g_FuncInfoUser.clear();
    g_FuncInfoStd.insert({"Foo", "Foo(a, b, c)"});
    m_pHarness = std::make_unique<CEditorHarness>();
    std::string strText = "x = Foo";
    for (int i = 1; i < nLines; ++i) strText += "\n    \"argument, with a comma\" /* note, here */ + Value" +
                                               std::to_string(i) + ",";
    m_pHarness->SetText(strText.c_str());
    m_pHarness->SetCaret(0, 7);
    m_pHarness->TypeChar('(');
    m_nLastLine = nLines - 1;
    m_pHarness->SetCaret(m_nLastLine, 1000);  // the editor clamps to the line's end
    m_pHarness->KeyUp(VK_END);
  }
  ~CTipSetup() {
    m_pHarness.reset();
    g_FuncInfoStd.clear();
    CSimDesktop::Reset();
  }
  CEditorHarness& H() { return *m_pHarness; }
  int LastLine() const { return m_nLastLine; }

 private:
  std::unique_ptr<CEditorHarness> m_pHarness;
  int m_nLastLine = 0;
};

void BM_TipKeyRelease(benchmark::State& state) {
  CTipSetup setup(static_cast<int>(state.range(0)));
  if (!CheckOr(state, setup.H().IsTipOpen(), "the tip did not open")) return;
  for (auto _ : state) setup.H().KeyUp(VK_END);
  CheckOr(state, setup.H().IsTipOpen(), "the tip closed");
  state.counters["lines"] = static_cast<double>(state.range(0));
}

// The editor's part of the same key release: handing over the lines from the
// anchor to the caret, as the update asks for them.
void BM_TipEditorCopy(benchmark::State& state) {
  CTipSetup setup(static_cast<int>(state.range(0)));
  CWnd& editor = *setup.H().GetEditor();
  for (auto _ : state) {
    for (int n = 0; n <= setup.LastLine(); ++n) benchmark::DoNotOptimize(ReadEditorLine(editor, n));
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}

// The scan proper over the same lines, already copied.
void BM_TipScan(benchmark::State& state) {
  CTipSetup setup(static_cast<int>(state.range(0)));
  std::vector<CString> lines;
  for (int n = 0; n <= setup.LastLine(); ++n) lines.push_back(ReadEditorLine(*setup.H().GetEditor(), n));
  lines[0] = lines[0].Mid(lines[0].Find('(') + 1);
  for (auto _ : state) {
    CFuncTipScanner scanner;
    for (const CString& strLine : lines) scanner.ScanLine(strLine);
    benchmark::DoNotOptimize(scanner.GetArgumentIndex());
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
}

#define NIMBO_TIP_BENCH(fn) \
  BENCHMARK(fn)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond)->MinTime(0.2)

NIMBO_TIP_BENCH(BM_TipKeyRelease);
NIMBO_TIP_BENCH(BM_TipEditorCopy);
NIMBO_TIP_BENCH(BM_TipScan);

}  // namespace
