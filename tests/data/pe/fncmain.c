/* The sample product's program: says which build it is, so a test can run it. */
#include <stdio.h>

int main(void) {
  puts("Fennic Duziderav sample program 17.0.3.1");
  return 0;
}
