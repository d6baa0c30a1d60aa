/* Holds a file open without sharing, the way a running program holds its own files,
   so that an end-to-end test can put a target in use under Wine.

     holder.exe FILE READY-FILE RELEASE-FILE [SECONDS]

   Opens FILE for reading with no sharing at all, creates READY-FILE once the handle
   is held, and waits until RELEASE-FILE exists or SECONDS (default 60) have passed.
   Exit status: 0 released or timed out, 2 bad arguments, 3 FILE could not be opened
   (the system error is printed), 4 READY-FILE could not be made. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
  if (argc < 4) {
    fprintf(stderr, "usage: holder FILE READY-FILE RELEASE-FILE [SECONDS]\n");
    return 2;
  }
  int seconds = argc > 4 ? atoi(argv[4]) : 60;
  if (seconds <= 0) seconds = 60;
  HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
  if (held == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "holder: cannot open %s: error %lu\n", argv[1], GetLastError());
    return 3;
  }
  HANDLE ready = CreateFileA(argv[2], GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (ready == INVALID_HANDLE_VALUE) {
    fprintf(stderr, "holder: cannot create %s: error %lu\n", argv[2], GetLastError());
    CloseHandle(held);
    return 4;
  }
  CloseHandle(ready);
  for (int waited = 0; waited < seconds * 10; ++waited) {
    if (GetFileAttributesA(argv[3]) != INVALID_FILE_ATTRIBUTES) break;
    Sleep(100);
  }
  CloseHandle(held);
  return 0;
}
