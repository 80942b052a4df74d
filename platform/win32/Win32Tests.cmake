# How the test suites run on the Windows side: one CTest test per suite
# executable, run under Wine (CMAKE_CROSSCOMPILING_EMULATOR), with the cases
# that only make sense on the Linux stand-ins filtered out, each with its
# reason. (Discovering every case would start Wine once per case: minutes.)
# scripts/test-windows.sh adds up the cases that ran from the suites' output.

# Suites that only make sense on Linux; they are not built here.
set(NIMBO_WIN32_POSIX_ONLY_SUITES
  # Loads the module with dlopen and watches its static objects through the
  # C++ runtime's __cxa_atexit; tests/module/win32 checks the same order with
  # LoadLibrary and FreeLibrary.
  module_tests
  # Makes its scratch folders with std::system("mkdir '...'"), a POSIX
  # shell's quoting that cmd.exe does not read. (nimbo.exe functions is run
  # by the package test, scripts/test-windows-package.sh.)
  tools_functions_tests
  # Drives the tool's terminal editor (ncurses) in tmux, and replays its
  # sessions through the same screen.
  tui_tests
  replay_tests
  # The language server's unit and in-process golden tests and its Neovim
  # test; its golden cases run against nimbo.exe below (lsp_cases_exe).
  lsp_tests
  # Runs crashing or faulting children with fork(), mmap and a small tmpfs
  # mount: Linux process and file-system machinery.
  robustness_tests)

set(NIMBO_WIN32_TESTCOMPAT_DIR ${CMAKE_CURRENT_LIST_DIR}/testcompat)

# The environment of every suite under Wine. Wine reads the Unix side's
# arguments and file names in the Unix locale's character set, which must be
# UTF-8 for non-ASCII ones to arrive whole (under LC_ALL=C an "é" of an
# argument arrives as two other characters, and such file names are not
# found).
set(NIMBO_WIN32_TEST_ENVIRONMENT WINEDEBUG=-all LC_ALL=C.UTF-8)

# Suites that run nimbo.exe: testcompat/tool/RunNimbo.h takes the place of
# tests/RunNimbo.h (Windows command lines, CR LF output read as text).
set(NIMBO_WIN32_TOOL_SUITES tools_ini_tests tools_win32_tests)

# Cases that check what only the Linux stand-ins promise, per suite, each with
# the reason the real system differs (docs/windows.md lists them too).
set(NIMBO_WIN32_SKIP_archive_tests
  # Opens a pipe through its /dev/fd/N path, a Linux path.
  ArchiveLimits.StreamsThatCannotSeekReadLongStringsInSlices)
set(NIMBO_WIN32_SKIP_ini_tests
  # The image-help library's MakeSureDirectoryPathExists takes only "\" as a
  # separator and faults on a null path; the stand-in takes "/" and refuses null.
  ImageHlp.MakesEveryDirectoryUpToTheLastSeparator
  # Need "/"-separated directories made by that function, /dev/full, POSIX
  # file modes or file-size limits, none of which Windows has.
  IniText.SaveAsRemembersPathAndClearsFlag
  IniText.DirectoriesMadeBeforeAFailureRemain
  IniText.FailedWriteKeepsThePreviousFile
  IniText.SavingOverAFileKeepsItsPermissions
  CrtStdio.OpenFailuresAndWriteErrors
  FileApi.MoveAndDelete
  # A directory does not open as a file on Windows: Load fails at the open,
  # which keeps the modified flag, instead of at the read; the reader says
  # it cannot open the directory (EACCES) instead of EISDIR at the read.
  IniText.ReadErrorReportsFalseAndClearsTheFlag
  IniReader.ADirectoryOpensAndFailsOnReading)
set(NIMBO_WIN32_SKIP_window_tests
  # Wine's MulDiv answers -1 for a result of -2^31; the stand-in returns it.
  MulDiv.KeepsTheProductInSixtyFourBits
  # Posted key messages do not change the keyboard state on Windows (only
  # real input does), and Wine's VkKeyScan finds no key for "(".
  MessageQueue.KeyStateFollowsRetrievedMessages
  MessageQueue.TranslatedKeysArriveAsDownCharUp
  MessageQueue.VkKeyScanInvertsTheTranslation
  # GetMessage on an empty queue waits for the next message on Windows; the
  # stand-in answers -1 at once.
  MessageQueue.PeekFiltersAndQuitComesLast
  # Promises of the in-process window system that the real one does not
  # make: a configurable screen and pixels per inch, null images and a fixed
  # row height in image lists and list views, stock objects that DeleteObject
  # refuses, caret queries that fail without a caret, focus and activation
  # without a window manager's own windows, WindowFromPoint over an empty
  # desktop.
  ListView.EnsureVisibleScrollsTheTopIndex
  ListView.ImageListsCountTheirImages
  ListView.ImageListObjectsOwnTheirList
  ListViewInput.KeysAndClicksMoveTheSelection
  Gdi.GetObjectGivesBackTheFontsDescription
  Gdi.StockObjectsAreSharedAndSurviveDeletion
  Gdi.DeviceContextsReportTheSimulatedPixelsPerInch
  Gdi.SelectedFontsSetTheTextMetricsAndCannotBeDeleted
  Focus.MovingTheFocusKillsThenSets
  Focus.AVisiblePopupTakesTheFocusUnlessItMayNotActivate
  Coordinates.TheScreenIsConfigurable
  Coordinates.WindowFromPointFindsTheDeepestVisibleWindow
  Caret.PositionIsKeptInTheOwnersClientCoordinates
  Caret.ShowAndHideNest
  Caret.WithoutACaretTheQueriesFail
  Caret.DestroyingTheOwnerDestroysTheCaret
  # Wine's ANSI list view converts its Unicode text into a buffer too short
  # for it without the terminating zero (WideCharToMultiByte fills all
  # cchTextMax bytes), where the documented control truncates and ends the
  # text with a zero.
  ListView.TextIsTruncatedToTheBufferWithItsZero
  # Wine sends only WM_NCDESTROY to a window whose WM_CREATE failed, and lets
  # DestroyWindow go ahead inside the window's own WM_DESTROY.
  WindowLifecycle.RefusedCreationLeavesNoWindow
  WindowLifecycle.DestroyingInsideDestroyIsRefused)
set(NIMBO_WIN32_SKIP_codemax_tests
  # Reads the text drawn from the device context's log, which real device
  # contexts do not keep (scripts/screenshot-windows.sh shows the drawing).
  CodeMaxWindow.PaintingDrawsTheVisibleLinesFromTheScrollPosition)
set(NIMBO_WIN32_SKIP_tools_ini_tests
  # Expects Linux's reason for a directory named as the file ("Is a
  # directory"); Windows refuses to open it with "Permission denied".
  IniCommand.UnreadableAndMalformedFiles
  # Compares cat's output, the file's own CR LF bytes, with what this
  # runner reads back in text mode (LF); tools_win32_tests checks its bytes.
  IniCommand.CatWritesTheTextForm)
set(NIMBO_WIN32_SKIP_tamsin_tests
  # A real image list refuses a null icon, which the stand-in's opaque
  # images accept.
  ImageListEx.IdentifiersMapToTheirImages)
set(NIMBO_WIN32_SKIP_assist_tests
  # Reads the tip's runs from the device context's log, which real device
  # contexts do not keep (scripts/screenshot-windows.sh shows the mark).
  TipWindow.PaintsTheMarkAsItsOwnRun)

function(nimbo_side_add_test name)
  if(name IN_LIST NIMBO_WIN32_POSIX_ONLY_SUITES)
    set_target_properties(${name} PROPERTIES EXCLUDE_FROM_ALL ON)
    return()
  endif()
  if(name IN_LIST NIMBO_WIN32_TOOL_SUITES)
    target_include_directories(${name} BEFORE PRIVATE ${NIMBO_WIN32_TESTCOMPAT_DIR}/tool)
    add_dependencies(${name} nimbo)
    # UTF-8 as nimbo.exe's: the command lines, file names and output the
    # suite hands over and reads back are the same text on both sides.
    nimbo_side_utf8_program(${name})
  endif()
  # The few POSIX calls of the tests' scratch-file helpers.
  target_include_directories(${name} PRIVATE ${NIMBO_WIN32_TESTCOMPAT_DIR})
  target_compile_options(${name} PRIVATE -include ${NIMBO_WIN32_TESTCOMPAT_DIR}/PosixCompat.h)
  set(args)
  if(DEFINED NIMBO_WIN32_SKIP_${name})
    string(JOIN ":" filter ${NIMBO_WIN32_SKIP_${name}})
    set(args "--gtest_filter=-${filter}")
  endif()
  add_test(NAME ${name} COMMAND ${name} ${args} WORKING_DIRECTORY ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "NIMBO_SOURCE_DIR=${PROJECT_SOURCE_DIR};${NIMBO_WIN32_TEST_ENVIRONMENT}" TIMEOUT 900)
endfunction()

# The language server's golden cases (tests/tools/lsp/cases), run against
# nimbo.exe under Wine by the process runner, which maps what a Windows
# process shows differently (paths on drive C:, URIs as VS Code writes them).
# It needs Node.js, and fails, never skips, without it.
find_program(NIMBO_NODE node REQUIRED)
add_test(NAME lsp_cases_exe
  COMMAND ${NIMBO_NODE} ${PROJECT_SOURCE_DIR}/tests/tools/lsp/process/run-cases.js --wine --
          ${NIMBO_WINE} $<TARGET_FILE:nimbo> lsp)
set_tests_properties(lsp_cases_exe PROPERTIES ENVIRONMENT "${NIMBO_WIN32_TEST_ENVIRONMENT}" TIMEOUT 900)
