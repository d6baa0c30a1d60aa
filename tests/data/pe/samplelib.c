/* A sample library. Registering it leaves a trace that a test can read back:
   HKEY_LOCAL_MACHINE\Software\Molvex\SampleComponent gets a string value named after
   the library's file ("fnccore.dll") holding the full path it was registered from;
   unregistering deletes that value again.

   Only the handful of system functions used here are declared, so that the system
   headers stay confined to the program's adapter. */
#include <stdint.h>
#include <string.h>

#define SAMPLE_EXPORT __declspec(dllexport)
#define SYSTEM_IMPORT __declspec(dllimport) __stdcall

typedef void* RegistryKey;
SYSTEM_IMPORT long RegCreateKeyExA(RegistryKey, const char*, unsigned long, char*, unsigned long, unsigned long,
                                   void*, RegistryKey*, unsigned long*);
SYSTEM_IMPORT long RegSetValueExA(RegistryKey, const char*, unsigned long, unsigned long, const unsigned char*,
                                  unsigned long);
SYSTEM_IMPORT long RegDeleteValueA(RegistryKey, const char*);
SYSTEM_IMPORT long RegCloseKey(RegistryKey);
SYSTEM_IMPORT unsigned long GetModuleFileNameA(void*, char*, unsigned long);

/* The system's numbers for what is used above. */
#define LOCAL_MACHINE ((RegistryKey)(intptr_t)(int32_t)0x80000002)
#define ACCESS_ALL 0xF003Fu
#define STRING_VALUE 1u
#define NOT_FOUND 2L
/* A failure of the system comes back as the matching HRESULT. */
#define AS_HRESULT(error) ((long)(0x80070000u | ((unsigned long)(error)&0xFFFFu)))

static const char kTraceKey[] = "Software\\Molvex\\SampleComponent";

/* This library's own module, as the linker names it. */
extern char __ImageBase;

static const char* FileNameOf(const char* path) {
  const char* slash = strrchr(path, '\\');
  return slash ? slash + 1 : path;
}

/* Opens the trace key and gives this library's path; 0 or the system's error. */
static long OpenTrace(RegistryKey* key, char* path, unsigned long size) {
  unsigned long length = GetModuleFileNameA(&__ImageBase, path, size);
  if (length == 0 || length >= size) return AS_HRESULT(122);
  long error = RegCreateKeyExA(LOCAL_MACHINE, kTraceKey, 0, 0, 0, ACCESS_ALL, 0, key, 0);
  return error == 0 ? 0 : AS_HRESULT(error);
}

SAMPLE_EXPORT long DllRegisterServer(void) {
  RegistryKey key;
  char path[520];
  long result = OpenTrace(&key, path, sizeof path);
  if (result != 0) return result;
  long error = RegSetValueExA(key, FileNameOf(path), 0, STRING_VALUE, (const unsigned char*)path,
                              (unsigned long)strlen(path) + 1);
  RegCloseKey(key);
  return error == 0 ? 0 : AS_HRESULT(error);
}

SAMPLE_EXPORT long DllUnregisterServer(void) {
  RegistryKey key;
  char path[520];
  long result = OpenTrace(&key, path, sizeof path);
  if (result != 0) return result;
  long error = RegDeleteValueA(key, FileNameOf(path));
  RegCloseKey(key);
  return error == 0 || error == NOT_FOUND ? 0 : AS_HRESULT(error);
}

SAMPLE_EXPORT int SampleLibraryVersion(void) { return SAMPLE_VERSION; }
