// The cause that an MFC exception thrown by a call carries, for the tests
// that check it.
#pragma once

namespace nimbotest {

// Runs fn and returns the m_cause of the TException it throws (the
// exception is deleted), or -1 when it throws none. Other exceptions pass on.
template <class TException, class TFunction>
int CauseOf(TFunction fn) {
  try {
    fn();
  } catch (TException* e) {
    const int nCause = e->m_cause;
    e->Delete();
    return nCause;
  }
  return -1;
}

}  // namespace nimbotest
