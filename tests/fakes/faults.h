#pragma once
// Fault injection for the fakes: any operation of a fake can be made to fail with a
// chosen Win32 error number, for the next N calls, for the Nth call, or for good, and
// optionally only when it concerns one path or key. Each fake keeps one Faults over its
// own operation enum, so a misspelt operation does not compile.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "sys/paths.h"
#include "sys/result.h"

namespace fakes {

template <class Operation>
class Faults {
 public:
  static constexpr int kForever = -1;

  // The next `count` matching calls fail with `error`.
  void FailNext(Operation op, sys::Error error, int count = 1, const std::string& path = "") {
    rules_.push_back(Rule{op, sys::FoldedCopy(path), error, 0, count});
  }
  // Only the `nth` matching call from now on (1 = the next one) fails.
  void FailNth(Operation op, int nth, sys::Error error, const std::string& path = "") {
    rules_.push_back(Rule{op, sys::FoldedCopy(path), error, nth - 1, 1});
  }
  // Every matching call fails until Clear.
  void FailAlways(Operation op, sys::Error error, const std::string& path = "") {
    rules_.push_back(Rule{op, sys::FoldedCopy(path), error, 0, kForever});
  }
  void Clear() { rules_.clear(); }

  // For the fake: counts the call and gives the error it must return (0: carry on).
  // `path` is what the call concerns; a rule with a path matches it without letter case.
  sys::Error Check(Operation op, const std::string& path = "") {
    ++calls_[op];
    std::string folded = sys::FoldedCopy(path);
    for (Rule& rule : rules_) {
      if (rule.op != op || rule.remaining == 0) continue;
      if (!rule.path.empty() && rule.path != folded) continue;
      if (rule.skip > 0) {
        --rule.skip;
        continue;
      }
      if (rule.remaining > 0) --rule.remaining;
      return rule.error;
    }
    return sys::err::kSuccess;
  }

  // How many calls of `op` the fake has seen (failed ones included).
  int Calls(Operation op) const {
    auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
  }

 private:
  struct Rule {
    Operation op;
    std::string path;
    sys::Error error;
    int skip;
    int remaining;
  };
  std::vector<Rule> rules_;
  std::map<Operation, int> calls_;
};

}  // namespace fakes
