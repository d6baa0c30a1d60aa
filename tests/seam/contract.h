#pragma once
// The facts the program relies on from the OS seam, checked against the in-memory fake
// (a unit test per check) and the Win32 adapter under Wine (the seam probe). A check gets
// a Bench: its own empty folder and registry key, and what only the machine can do.
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

#include "sys/result.h"

namespace seam {

class Bench {
 public:
  virtual ~Bench() = default;

  // An existing empty folder for this check, and an absent key under HKCU to make.
  std::string folder;
  std::string key;

  // Another program opens `path` for reading and lets others only read it.
  virtual void HoldOpen(const std::string& path) = 0;
  // Another program runs from `path` (an existing file the bench may overwrite).
  virtual void RunFrom(const std::string& path) = 0;
  // Ends what HoldOpen and RunFrom started.
  virtual void Release() = 0;
  // A command line of a program that runs `milliseconds`, then exits with `code`.
  virtual std::string ChildCommand(uint32_t milliseconds, uint32_t code) = 0;

  // Records a failed expectation; the runner reports it with the check's name.
  void Fail(const char* file, int line, const std::string& what);
  std::vector<std::string> failures;
};

struct Check {
  const char* name;
  void (*run)(Bench&);
};
std::vector<Check>& Checks();
bool Register(const char* name, void (*run)(Bench&));

// Writes `text` as the whole file; "" or what failed.
std::string WriteFile(const std::string& path, const std::string& text);
std::string ReadFile(const std::string& path);

}  // namespace seam

#define SEAM_CHECK(name)                                                         \
  static void name(seam::Bench& bench);                                         \
  [[maybe_unused]] static const bool name##Registered = seam::Register(#name, name); \
  static void name([[maybe_unused]] seam::Bench& bench)

// Expects `actual == expected`; both are printed when they differ.
#define SEAM_EQ(actual, expected)                                                                     \
  do {                                                                                                \
    const auto& seamActual = (actual);                                                                \
    if (!(seamActual == (expected)))                                                                  \
      bench.Fail(__FILE__, __LINE__, #actual " is " + seam::Shown(seamActual) + ", not " #expected); \
  } while (0)
#define SEAM_TRUE(condition) \
  do {                       \
    if (!(condition)) bench.Fail(__FILE__, __LINE__, #condition);                                     \
  } while (0)

namespace seam {
inline std::string Shown(const std::string& text) { return "\"" + text + "\""; }
template <class T>
std::string Shown(const T& value) {
  if constexpr (std::is_enum_v<T>) {
    return std::to_string(static_cast<uint64_t>(value));
  } else if constexpr (std::is_arithmetic_v<T>) {
    return std::to_string(value);
  } else {
    return "another value";
  }
}
}  // namespace seam
