// Fuzz target: the code-assistance controller driven through the host harness
// with arbitrary editor text and an arbitrary sequence of keys, clicks,
// pastes and focus changes.
//
// Input layout: the editor text up to the first zero byte, then one command
// per byte (some take the next one or two bytes as arguments). The
// catalogues hold a few functions, some with long prototypes, so that tips
// open, move and close often.
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "SimDesktop.h"
#include "Win32User.h"
#include "harness/CEditorHarness.h"
#include "module/NimboInit.h"
#include "module/SharedCatalogs.h"

namespace {

void Require(bool bCondition) {
  if (!bCondition) std::abort();
}

const char* const kNames[] = {"Foo", "Bar", "MessageBox", "Max", "UserFn", "x"};
const UINT kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END,
                      VK_BACK, VK_DELETE, VK_RETURN, VK_ESCAPE, VK_TAB, VK_SPACE};
const char kTyped[] = "(),\"';/*\\\n xF(a)b";

CEditorHarness& Harness() {
  static std::unique_ptr<CEditorHarness> pHarness = [] {
    NimboInit();
    g_FuncInfoStd.insert({"Foo", "Foo(a, b, c)"});
    g_FuncInfoStd.insert({"Bar", "Bar(n)"});
    g_FuncInfoStd.insert({"Max", "Max(x, y)"});
    g_FuncInfoStd.insert({"MessageBox", "MessageBox(strText, strCaption, nFlags, nTimeoutMilliseconds, bModal)"});
    auto p = std::make_unique<CEditorHarness>();
    g_FuncInfoUser.insert({"UserFn", "UserFn(p, q)"});
    g_FuncInfoUser.insert({"x", "x()"});
    Require(p->IsReady());
    return p;
  }();
  return *pHarness;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  CEditorHarness& h = Harness();
  size_t nText = 0;
  while (nText < nSize && pData[nText] != 0) ++nText;
  h.SetText(CString(reinterpret_cast<const char*>(pData), static_cast<int>(nText)));
  h.SetCaret(0, 0);
  h.FocusEditor();
  h.ClearEvents();

  size_t i = nText + 1;
  auto next = [&]() -> unsigned { return i < nSize ? pData[i++] : 0u; };
  while (i < nSize) {
    const unsigned nCommand = next();
    switch (nCommand % 10) {
      case 0: case 1: case 2: h.TypeChar(kTyped[next() % (sizeof kTyped - 1)]); break;
      case 3: h.TypeChar(static_cast<char>(next())); break;
      case 4: h.PressKey(kKeys[next() % (sizeof kKeys / sizeof kKeys[0])]); break;
      case 5: {
        const int nLine = static_cast<int>(next() % 8);
        h.ClickAt(nLine, static_cast<int>(next() % 40));
        break;
      }
      case 6: h.TypeText(kNames[next() % (sizeof kNames / sizeof kNames[0])]); h.TypeChar('('); break;
      case 7: h.Paste(nCommand & 0x80 ? "a,\n b" : "\"(\","); break;
      case 8: (nCommand & 0x80) ? h.FocusOtherWindow() : h.FocusEditor(); break;
      case 9: h.SetFontHeight((nCommand & 0x80) ? 0 : -static_cast<LONG>(8 + next() % 40)); break;
    }
    Require(!h.Controller()->IsCreatingTip());
    Require(h.IsTipOpen() == h.Controller()->IsTipOpen());
  }
  if (h.Controller()->IsTipOpen()) h.Controller()->CloseTip();
  h.SetFontHeight(-16);
  h.Pump();
  return 0;
}
