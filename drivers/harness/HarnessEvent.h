// CHarnessEvent: one observable step of the function tip, as the harness saw it.
#pragma once

#include "CString.h"
#include "Win32Def.h"

struct CHarnessEvent {
  enum EKind {
    tipCreated,       // a tip opened: strText, rcTip (its top-left is the point given to CreateTip)
    tipMoved,         // a key release kept the tip open: nParam, rcTip after the move
    tipClosed,        // the tip window went away (for any reason)
    killFocusParent,  // the host told the controller that the frame lost the focus
  };
  EKind kind;
  CString strText;                  // tipCreated: the tip's text
  RECT rcTip = {0, 0, 0, 0};        // tipCreated, tipMoved: the tip's window rectangle (screen)
  int nParam = -1;                  // tipMoved: the argument index given to the tip
  bool bDuringCreation = false;     // killFocusParent: the controller was creating a tip
};
