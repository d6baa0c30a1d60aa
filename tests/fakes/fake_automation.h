#pragma once
// Automation objects of a pretend machine: registered program identifiers with their
// classes and text properties. Creating or reading can be made to fail.
#include <map>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/automation.h"

namespace fakes {

class FakeAutomation : public sys::Automation {
 public:
  enum class Op { ClassIdOf, Create };

  struct Registered {
    std::string classId;                            // "{...}"
    std::map<std::string, std::string> properties;  // names compare without letter case
  };

  // Registers (or replaces) a program identifier; identifiers compare without letter case.
  void Register(const std::string& programId, Registered object);

  sys::Result<std::string> ClassIdOf(const std::string& programId) override;
  sys::Result<std::vector<std::string>> ReadStringProperties(const std::string& programId,
                                                             const std::vector<std::string>& names) override;

  Faults<Op> faults;
  // Program identifiers of the objects created, in order.
  std::vector<std::string> created;

 private:
  const Registered* Find(const std::string& programId) const;
  std::map<std::string, Registered> objects_;  // by folded program identifier
};

}  // namespace fakes
