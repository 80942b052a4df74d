// CZoPromptorCtrl: the code-assistance controller a host attaches to one
// CodeMax editor window: function tip, completion list and the function name
// at the caret.
//
// The controller is not a window. The host feeds it every message addressed
// to the editor through RelayEvent, before the editor handles it: a typed "("
// (WM_CHAR 40) after a known function name opens the tip below the caret, and
// every key release (WM_KEYUP) re-reads the text from the "(" to the caret,
// tells the tip which argument the caret is in and moves the tip to the caret's
// line, or closes it when the caret went back before the "(" or a ")" stands
// in code. The host also calls OnKillFocusParent when the editor's parent
// window loses the focus, which closes the tip.
//
// Every operation but the constructor is virtual and the controller calls its
// own operations through the virtual table, so a derived class can replace
// any step. The editor window, the project manager and the image list are
// borrowed: the controller never creates, subclasses or destroys them.
#pragma once

#include "CString.h"
#include "CWnd.h"
#include "assist/CCodeMaxCtrl.h"
#include "assist/CZoListCtrlToolTipStaticFunc.h"
#include "tamsin/CZoToolTipStaticFunc.h"

class CImageListCommon;
class CProjectManagerObject;

/// The code-assistance controller a host attaches to one CodeMax editor
/// window: function tip, completion list and the function name at the caret.
/// The host relays every message of the editor to it first (RelayEvent).
class AFX_EXT_CLASS CZoPromptorCtrl {
 public:
  /// Unattached: no editor, no tip; the list filler knows both process-wide
  /// catalogues and no image list.
  CZoPromptorCtrl();
  /// Detaches first, so the editor window is never touched; an open tip is
  /// destroyed with its window object.
  virtual ~CZoPromptorCtrl();
  CZoPromptorCtrl(const CZoPromptorCtrl&) = delete;  ///< owns the tip window
  CZoPromptorCtrl& operator=(const CZoPromptorCtrl&) = delete;

  /// Points the controller at an editor window (may be null), the host's
  /// project manager and image list, then initialises the standard and then
  /// the user catalogue with the project manager (results ignored). May be
  /// called again for another editor.
  virtual void Init(CWnd* pEditor, CProjectManagerObject* pProjectManager, CImageListCommon* pImages);
  /// Takes one message addressed to the editor, before the editor handles it
  /// (pMsg never null): the tip window sees it first; then WM_KEYUP updates
  /// the tip and WM_CHAR "(" may open one.
  virtual void RelayEvent(MSG* pMsg);
  /// Fills the host's list view with every known function, standard ones
  /// first; the list stays the host's and is attached to nothing afterwards.
  virtual void InitFunctionList(HWND hWndList);
  /// The editor's parent lost the focus: closes the tip, unless the tip is
  /// being created right now.
  virtual void OnKillFocusParent();
  /// The name before the caret when a catalogue knows it (standard catalogue
  /// first, exact case-sensitive match), with its prototype assigned through
  /// pstrPrototype (when not null); otherwise an empty string and the
  /// prototype untouched. Always records the anchor: m_nTipLine = the caret's
  /// line, m_nTipColumn = the caret's column + 1.
  virtual CString GetCurrentFunctionName(CString* pstrPrototype);

 protected:
  /// Clears the borrowed editor, project manager and image list; an open tip
  /// stays open.
  virtual void Detach();
  /// Opens the tip for the name before the caret (on a typed "(").
  virtual void CreateFuncTip();
  /// Follows the caret with an open tip, or closes it (on every key release).
  virtual void UpdateFuncTip();
  /// Closes the tip; harmless when none is open.
  virtual void DestroyFuncTip();

  CWnd* m_pEditor;                        ///< the host's editor window object, borrowed
  MSG* m_pCurrentMsg;                     ///< the message being relayed, borrowed
  CCodeMaxCtrl m_codeMax;                 ///< holds a copy of the editor's handle, never attached
  CProjectManagerObject* m_pProjectManager;  ///< borrowed
  CZoToolTipStaticFunc m_funcTip;         ///< open exactly while its window is live
  CZoListCtrlToolTipStaticFunc m_funcList;  ///< completion-list filler
  int m_nTipLine;                         ///< anchor: the line of the last name lookup
  int m_nTipColumn;                       ///< anchor: that lookup's caret column + 1
  bool m_bCreatingTip;                    ///< set while CreateFuncTip opens the tip
};
