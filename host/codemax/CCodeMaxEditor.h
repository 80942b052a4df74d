// CCodeMaxEditor: the CodeMax editor window: a small fixed-pitch text editor
// that answers the editor messages of host/codemax/CodeMaxMessages.h.
//
// One object lives behind every window of class "CodeMax"; it is made when the
// window is created and deleted when it is destroyed. Hosts create the window
// with CreateWindowEx (after RegisterCodeMaxClass) and drive it with
// messages; drawing code reads the object's state through FromHandle.
#pragma once

#include "Win32User.h"
#include "codemax/CCodeMaxDocument.h"

// Registers the window class "CodeMax". True when it is registered now or
// was already.
bool RegisterCodeMaxClass();

class CCodeMaxEditor {
 public:
  // The editor object of a "CodeMax" window; null for any other handle.
  static CCodeMaxEditor* FromHandle(HWND hWnd);

  HWND GetSafeHwnd() const { return m_hWnd; }
  const CCodeMaxDocument& GetDocument() const { return m_doc; }
  HFONT GetFont() const { return m_hFont; }

  // The character cell: the text metrics of the editor's font.
  int GetCharWidth() const { return m_nCharWidth; }
  int GetLineHeight() const { return m_nLineHeight; }
  // The first line and column shown at the client area's top-left corner.
  int GetTopLine() const { return m_nTopLine; }
  int GetLeftColumn() const { return m_nLeftColumn; }

  // The client pixel of a text position's top-left corner.
  POINT PointFromPosition(int nLine, int nColumn) const;
  // The text position at a client pixel: the line under it and the column
  // boundary nearest to it, clamped into the text.
  void PositionFromPoint(int x, int y, int& nLine, int& nColumn) const;

  CCodeMaxEditor(const CCodeMaxEditor&) = delete;  // one object per window
  CCodeMaxEditor& operator=(const CCodeMaxEditor&) = delete;

 private:
  friend bool RegisterCodeMaxClass();
  explicit CCodeMaxEditor(HWND hWnd);
  static LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);

  void OnChar(char ch);
  void OnKeyDown(UINT nVirtKey);
  void OnSetFocus();
  void OnKillFocus();
  void OnSetFont(HFONT hFont, bool bRedraw);
  void OnPaint();
  LRESULT OnGetLine(int nLine, char* pBuffer) const;
  LRESULT OnGetText(size_t nSize, char* pBuffer) const;

  // Measures the font's cell into m_nCharWidth and m_nLineHeight.
  void MeasureFont();
  // Scrolls so that the caret is in view, moves the system caret and repaints.
  void CaretChanged();
  void UpdateCaretPos();

  HWND m_hWnd;
  CCodeMaxDocument m_doc;
  HFONT m_hFont = nullptr;  // the host's font, not owned; null: the system font
  int m_nCharWidth = 8;     // pixels
  int m_nLineHeight = 16;   // pixels
  int m_nTopLine = 0;
  int m_nLeftColumn = 0;
  bool m_bHasCaret = false;  // the editor has the focus and owns the caret
};
