#pragma once
// The public key a program checks the site's file lists against, one object per program
// made by the build from the list key option: empty when the program takes lists unsigned.
extern const char kBuiltInListKey[];
