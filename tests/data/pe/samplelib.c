/* A sample library. Registration succeeds without doing anything, so the
   installer's registration pass has something real to call. */
#define SAMPLE_EXPORT __declspec(dllexport)

SAMPLE_EXPORT long DllRegisterServer(void) { return 0; }
SAMPLE_EXPORT long DllUnregisterServer(void) { return 0; }
SAMPLE_EXPORT int SampleLibraryVersion(void) { return SAMPLE_VERSION; }
