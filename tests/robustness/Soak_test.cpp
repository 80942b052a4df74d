// A long run of random key presses, clicks and focus changes through the
// host harness, with the sample function wizard and project loaded. Under
// LeakSanitizer the run must also end without leaks.
//
// NIMBO_SOAK_EVENTS sets the number of key events (default a million, or
// fifty thousand in a sanitizer build, which runs many times slower).
#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "Win32User.h"
#include "harness/CEditorHarness.h"
#include "module/SharedCatalogs.h"

namespace {

long SoakEvents() {
  if (const char* psz = std::getenv("NIMBO_SOAK_EVENTS")) {
    const long n = std::atol(psz);
    if (n > 0) return n;
  }
  return BuiltWithAddressSanitizer() ? 50000 : 1000000;
}

const char kTyped[] = "abcxyz0123 (),\"\"//**\n\\";
const UINT kKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_BACK, VK_DELETE, VK_ESCAPE};
const char kStartText[] = "// soak\nvar n = 1;\n\n";

TEST(Soak, AMillionRandomKeyEventsOnALoadedCatalogue) {
  CHarnessOptions options;
  options.strProgramsDir = NIMBO_SOURCE_DIR "/samples/Programs";
  options.strProjectDir = NIMBO_SOURCE_DIR "/samples/project";
  CEditorHarness harness(options);
  ASSERT_TRUE(harness.IsReady());
  std::vector<CString> names;
  for (const auto& entry : g_FuncInfoStd) names.push_back(entry.first);
  for (const auto& entry : g_FuncInfoUser) names.push_back(entry.first);
  ASSERT_GT(g_FuncInfoStd.size(), 10u);
  ASSERT_GT(g_FuncInfoUser.size(), 0u);

  std::mt19937 random(20261207);
  auto below = [&random](size_t n) { return static_cast<size_t>(random() % n); };
  size_t nCreated = 0, nMoved = 0, nClosed = 0;
  harness.SetEventHandler([&](const CHarnessEvent& event) {
    nCreated += event.kind == CHarnessEvent::tipCreated;
    nMoved += event.kind == CHarnessEvent::tipMoved;
    nClosed += event.kind == CHarnessEvent::tipClosed;
  });
  harness.SetText(kStartText);
  harness.SetCaret(2, 0);

  const long nEvents = SoakEvents();
  const auto start = std::chrono::steady_clock::now();
  long nDone = 0;
  long nNextReset = 5000;
  while (nDone < nEvents) {
    const size_t nKind = below(100);
    if (nKind < 45) {
      harness.TypeChar(kTyped[below(sizeof kTyped - 1)]);
      nDone += 1;
    } else if (nKind < 60) {
      const CString& strName = names[below(names.size())];
      harness.TypeText(strName);
      harness.TypeChar('(');
      nDone += strName.GetLength() + 1;
    } else if (nKind < 90) {
      harness.PressKey(kKeys[below(sizeof kKeys / sizeof kKeys[0])]);
      nDone += 1;
    } else if (nKind < 95) {
      harness.ClickAt(static_cast<int>(below(12)), static_cast<int>(below(30)));
    } else if (nKind < 97) {
      harness.FocusOtherWindow();
      harness.FocusEditor();
    } else {
      harness.SetCaret(static_cast<int>(below(12)), static_cast<int>(below(30)));
    }
    ASSERT_FALSE(harness.Controller()->IsCreatingTip()) << "after " << nDone << " events";
    if (nDone >= nNextReset) {
      // Keeps the text short, so every event costs about the same.
      nNextReset += 5000;
      harness.ClearEvents();
      harness.SetText(kStartText);
      harness.SetCaret(2, 0);
    }
  }
  const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("soak: %ld key events in %.1f s; tips created %zu, moved %zu, closed %zu\n", nDone, dSeconds,
              nCreated, nMoved, nClosed);
  // The run exercised the tip, not just the editor.
  EXPECT_GT(nCreated, static_cast<size_t>(nEvents / 1000));
  EXPECT_GT(nMoved, nCreated);
  EXPECT_GT(nClosed, nCreated / 2);
  harness.SetEventHandler(nullptr);
}

}  // namespace
