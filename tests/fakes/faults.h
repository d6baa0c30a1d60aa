#pragma once
// Fault injection for the fakes: any operation can be made to fail with a chosen Win32
// error number, for the next N calls, for the Nth call, or for good, optionally only
// when it concerns one path or key (without letter case). Each fake keeps one Faults
// over its own operation enum, so a misspelt operation does not compile.
#include <map>
#include <string>
#include <vector>

#include "sys/paths.h"
#include "sys/result.h"

namespace fakes {

template <class Operation>
class Faults {
 public:
  void FailNext(Operation op, sys::Error error, int count = 1, const std::string& path = "") {
    rules_.push_back(Rule{op, sys::FoldedCopy(path), error, 0, count});
  }
  // Only the `nth` matching call from now on (1 = the next one) fails.
  void FailNth(Operation op, int nth, sys::Error error, const std::string& path = "") {
    rules_.push_back(Rule{op, sys::FoldedCopy(path), error, nth - 1, 1});
  }
  void FailAlways(Operation op, sys::Error error, const std::string& path = "") {
    rules_.push_back(Rule{op, sys::FoldedCopy(path), error, 0, -1});
  }
  void Clear() { rules_.clear(); }

  // For the fake: counts the call and gives the error it must answer (0: carry on).
  sys::Error Check(Operation op, const std::string& path = "") {
    ++calls_[op];
    for (Rule& rule : rules_) {
      if (rule.op != op || rule.remaining == 0 || (!rule.path.empty() && rule.path != sys::FoldedCopy(path)))
        continue;
      if (rule.skip-- > 0) continue;
      if (rule.remaining > 0) --rule.remaining;
      return rule.error;
    }
    return sys::err::kSuccess;
  }
  // Calls of `op` seen, failed ones included.
  int Calls(Operation op) { return calls_[op]; }

 private:
  struct Rule {
    Operation op;
    std::string path;
    sys::Error error;
    int skip;
    int remaining;  // -1: for good
  };
  std::vector<Rule> rules_;
  std::map<Operation, int> calls_;
};

}  // namespace fakes
