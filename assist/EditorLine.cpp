// ReadEditorLine: the length-then-text exchange with the editor, made safe
// against answers that do not describe a real line.
#include "assist/EditorLine.h"

#include <cstdint>
#include <vector>

#include "codemax/CodeMaxMessages.h"

CString ReadEditorLine(const CWnd& editor, int nLine) {
  if (editor.GetSafeHwnd() == nullptr || nLine < 0) return CString();
  // The editor answers a 32-bit length; a negative one describes no buffer.
  // An empty line is still asked for, with a buffer of one byte.
  const int32_t nLength = static_cast<int32_t>(editor.SendMessage(CMM_GETLINELENGTH, static_cast<WPARAM>(nLine), 0));
  if (nLength < 0) return CString();
  std::vector<char> buffer(static_cast<size_t>(nLength) + 1, '\0');
  editor.SendMessage(CMM_GETLINE, static_cast<WPARAM>(nLine), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.back() = '\0';  // an editor that filled every byte still yields a terminated text
  return CString(buffer.data());
}
