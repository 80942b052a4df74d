// CObject and its run-time class records: MFC's root class with run-time
// type information, dynamic creation and serialization support.
#pragma once

#include "AfxDeclare.h"
#include "Win32Def.h"

class CArchive;
class CObject;

// A dump context; the library's Dump operations write nothing to it.
class CDumpContext {};

// The versionable bit of a schema word: any schema in an archive is accepted.
#define VERSIONABLE_SCHEMA (0x80000000)

// One record per class: the name, the schema word, how to create an object
// and the base class. Records are chained into the class list of the module
// state (or of an extension library) by AfxClassInit.
struct CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                        // 0xFFFF for classes that are not serializable
  CObject* (*m_pfnCreateObject)();       // null when not dynamically creatable
  CRuntimeClass* m_pBaseClass;
  CRuntimeClass* m_pNextClass;           // link in the class list

  // A new object of this class, or null when the class cannot be created.
  CObject* CreateObject();
  bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

// Registers a class in the current module state's class list.
void AFXAPI AfxClassInit(CRuntimeClass* pNewClass);

// Static helper whose construction registers a class (one per serializable class).
struct AFX_CLASSINIT {
  explicit AFX_CLASSINIT(CRuntimeClass* pNewClass) { AfxClassInit(pNewClass); }
};

// Finds a registered class by name in the module state's list and in the
// lists of the linked extension libraries; null when there is none.
CRuntimeClass* AFXAPI AfxFindRuntimeClass(LPCSTR pszClassName);

class CObject {
 public:
  // Virtual operations in MFC's slot order.
  virtual CRuntimeClass* GetRuntimeClass() const;
  virtual ~CObject() = default;
  virtual void Serialize(CArchive& ar);
  virtual void AssertValid() const {}
  virtual void Dump(CDumpContext& dc) const { (void)dc; }

  bool IsKindOf(const CRuntimeClass* pClass) const;
  bool IsSerializable() const;

  static CRuntimeClass classCObject;

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                      \
 public:                                                 \
  static CRuntimeClass class##class_name;                \
  CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* CreateObject();

#define DECLARE_SERIAL(class_name)  \
  DECLARE_DYNCREATE(class_name)     \
  friend CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb);

// Defines the class record. The record is not registered here: registration
// (AFX_CLASSINIT) is placed where the module wants it to happen in its
// static initialisation order.
#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                 \
  CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class class_name), wSchema, \
                                                 pfnNew, RUNTIME_CLASS(base_class_name), nullptr}; \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                   \
  CObject* class_name::CreateObject() { return new class_name; }          \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

// Needs the full CArchive declaration where it is used.
#define IMPLEMENT_SERIAL_NOINIT(class_name, base_class_name, wSchema)                      \
  CObject* class_name::CreateObject() { return new class_name; }                         \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject) \
  CArchive& AFXAPI operator>>(CArchive& ar, class_name*& pOb) {                          \
    pOb = static_cast<class_name*>(ar.ReadObject(RUNTIME_CLASS(class_name)));            \
    return ar;                                                                           \
  }
