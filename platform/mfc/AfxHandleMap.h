// The handle maps of the framework's wrapper classes: which object is
// permanently attached to a handle, and the temporary wrapper objects that
// FromHandle makes for handles no object is attached to.
#pragma once

#include <map>
#include <memory>

// TObject wraps handles of type THandle in its member pmHandle (a member of
// TObject or of one of its bases). Temporary
// objects are owned by the map; their handle is cleared before they are
// deleted, so deleting a temporary object never destroys what it wraps.
template <class TObject, class THandle, auto pmHandle>
class CHandleMap {
 public:
  CHandleMap() = default;
  CHandleMap(const CHandleMap&) = delete;  // owns temporary objects
  CHandleMap& operator=(const CHandleMap&) = delete;
  ~CHandleMap() { DeleteTemp(); }

  // The one map of this type in the process. Never destroyed: objects with
  // static storage may still detach in their destructors after every
  // function-local static is gone.
  static CHandleMap& Get() {
    static CHandleMap* s_pMap = new CHandleMap;
    return *s_pMap;
  }

  // Attaches pObject to h for good (the wrapper's Attach): false for a null
  // handle, an object that holds one already, or a handle another object
  // holds.
  bool Attach(TObject* pObject, THandle h) {
    if (h == THandle() || pObject->*pmHandle != THandle() || !SetPermanent(h, pObject)) return false;
    pObject->*pmHandle = h;
    return true;
  }
  // Detaches pObject from its handle (the wrapper's Detach) and returns it.
  THandle Detach(TObject* pObject) {
    THandle h = pObject->*pmHandle;
    if (h != THandle()) RemovePermanent(h, pObject);
    pObject->*pmHandle = THandle();
    return h;
  }

  // False when the handle is already attached to an object.
  bool SetPermanent(THandle h, TObject* pObject) {
    if (m_permanent.count(h) != 0) return false;
    m_permanent[h] = pObject;
    return true;
  }
  // Removes the entry only when it names pObject.
  void RemovePermanent(THandle h, TObject* pObject) {
    auto it = m_permanent.find(h);
    if (it != m_permanent.end() && it->second == pObject) m_permanent.erase(it);
  }
  TObject* LookupPermanent(THandle h) const {
    auto it = m_permanent.find(h);
    return it == m_permanent.end() ? nullptr : it->second;
  }
  // The permanent object, else a temporary one (made on first use); null for a null handle.
  TObject* FromHandle(THandle h) {
    if (h == THandle()) return nullptr;
    if (TObject* pObject = LookupPermanent(h)) return pObject;
    auto it = m_temp.find(h);
    if (it != m_temp.end()) return it->second.get();
    std::unique_ptr<TObject, CTempDeleter> pTemp(new TObject);
    pTemp.get()->*pmHandle = h;
    TObject* pObject = pTemp.get();
    m_temp.emplace(h, std::move(pTemp));
    return pObject;
  }
  bool IsTemporary(const TObject* pObject) const {
    auto it = m_temp.find(pObject->*pmHandle);
    return it != m_temp.end() && it->second.get() == pObject;
  }
  void DeleteTemp(THandle h) { m_temp.erase(h); }
  void DeleteTemp() { m_temp.clear(); }

 private:
  struct CTempDeleter {
    void operator()(TObject* pObject) const {
      pObject->*pmHandle = THandle();
      delete pObject;
    }
  };
  std::map<THandle, TObject*> m_permanent;
  std::map<THandle, std::unique_ptr<TObject, CTempDeleter>> m_temp;
};
