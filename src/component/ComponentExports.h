#ifndef QUARN_COMPONENT_EXPORTS_H
#define QUARN_COMPONENT_EXPORTS_H

/* The entry points of the component library libquarn_subsysmgr_component.so, for hosts that load
 * it at run time (dlopen, dlsym). The library exports these four C functions and nothing else;
 * it carries its own copy of the core library, our suite components and the editors.
 *
 *   DllRegisterServer    registers the four classes below in the library's component registry
 *                        under their programmatic identifiers, and our suite components under
 *                        theirs where nothing is registered yet.
 *   DllUnregisterServer  removes what DllRegisterServer added.
 *   DllGetClassObject    creates an object of a registered class, by class identifier.
 *   DllCanUnloadNow      QUARN_S_OK when no object created by the library is alive any more.
 *
 * Every function returns a status: QUARN_S_OK (0) on success, a negative QUARN_E_ or
 * QUARN_..._E_ code on failure. None of them throws. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QUARN_S_OK ((int32_t)0)
#define QUARN_S_FALSE ((int32_t)1)
#define QUARN_E_POINTER ((int32_t)0x80004003)
#define QUARN_E_FAIL ((int32_t)0x80004005)
#define QUARN_CLASS_E_CLASSNOTAVAILABLE ((int32_t)0x80040111)
#define QUARN_SELFREG_E_CLASS ((int32_t)0x80040201)

/* Class identifiers (compared without regard to case) and programmatic identifiers. */
#define QUARN_CLSID_SUBSYSGROUP "{A3EB651E-A0ED-4EED-964A-AD663A83C6A2}"
#define QUARN_PROGID_SUBSYSGROUP "QuarnClassSubSysMgr.SubSysGroup"
#define QUARN_CLSID_SUBSYSTEM "{A07F3E3D-FB8C-427B-946A-11A578E5837D}"
#define QUARN_PROGID_SUBSYSTEM "QuarnClassSubSysMgr.SubSystem"
#define QUARN_CLSID_SUBSYSGROUPMGRUI "{2B572997-D833-4A12-BBF8-2B4634FE7D71}"
#define QUARN_PROGID_SUBSYSGROUPMGRUI "QuarnClassSubSysMgr.SubSysGroupMgrUI"
#define QUARN_CLSID_SUBSYSTEMMGRUI "{64089630-2006-464D-BE69-0AF43F09405D}"
#define QUARN_PROGID_SUBSYSTEMMGRUI "QuarnClassSubSysMgr.SubSystemMgrUI"

/* An object created by DllGetClassObject. The caller owns it and ends it with
 * object->Release(object); the object counts as alive until then. */
typedef struct QuarnClassObject QuarnClassObject;
struct QuarnClassObject {
    /* The object itself, of the class that progId names: a quarn::subsysmgr::SubSysGroup*,
     * SubSystem*, SubSysGroupMgrUI* or SubSystemMgrUI*. Only a host built against the same
     * version of this library's headers may use it as such. */
    void* instance;
    /* The programmatic identifier of the class; valid while the library is loaded. */
    const char* progId;
    void (*Release)(QuarnClassObject* self);
};

#define QUARN_COMPONENT_API __attribute__((visibility("default")))

/* QUARN_SELFREG_E_CLASS when the registry refused an entry. */
QUARN_COMPONENT_API int32_t DllRegisterServer(void);
QUARN_COMPONENT_API int32_t DllUnregisterServer(void);
/* Sets *object to a new object of the class, or to NULL on failure: QUARN_E_POINTER without
 * `object` or `classId`, QUARN_CLASS_E_CLASSNOTAVAILABLE for a class that is unknown or not
 * registered, QUARN_E_FAIL when creating the object failed. */
QUARN_COMPONENT_API int32_t DllGetClassObject(const char* classId, QuarnClassObject** object);
/* QUARN_S_OK when no object is alive, QUARN_S_FALSE otherwise. */
QUARN_COMPONENT_API int32_t DllCanUnloadNow(void);

#ifdef __cplusplus
}
#endif

#endif /* QUARN_COMPONENT_EXPORTS_H */
