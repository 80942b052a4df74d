// Standard icons where images are opaque: every image is a null placeholder.
#include "tamsin/StandardIcons.h"

HICON StandardIcon(int nId, int cx, int cy) {
  (void)nId;
  (void)cx;
  (void)cy;
  return nullptr;
}
