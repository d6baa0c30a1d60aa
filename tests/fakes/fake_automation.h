#pragma once
// Automation objects of a pretend machine: registered program identifiers with their
// classes and text properties, all names compared without letter case.
#include <map>
#include <string>
#include <vector>

#include "fakes/faults.h"
#include "sys/automation.h"
#include "sys/paths.h"

namespace fakes {

class FakeAutomation : public sys::Automation {
 public:
  enum class Op { ClassIdOf, Create };
  // REGDB_E_CLASSNOTREG, as CLSIDFromProgID and CoCreateInstance report it.
  static constexpr sys::Error kClassNotRegistered = 0x80040154;

  struct Registered {
    std::string classId;  // "{...}"
    std::map<std::string, std::string> properties;
  };

  void Register(const std::string& programId, const Registered& object) {
    Registered& kept = objects_[sys::FoldedCopy(programId)] = {object.classId, {}};
    for (const auto& [name, value] : object.properties) kept.properties[sys::FoldedCopy(name)] = value;
  }

  sys::Result<std::string> ClassIdOf(const std::string& programId) override {
    if (sys::Error e = faults.Check(Op::ClassIdOf, programId)) return {e};
    const Registered* object = Find(programId);
    if (!object) return {kClassNotRegistered};
    return {sys::err::kSuccess, object->classId};
  }
  sys::Result<std::vector<std::string>> ReadStringProperties(const std::string& programId,
                                                             const std::vector<std::string>& names) override {
    if (sys::Error e = faults.Check(Op::Create, programId)) return {e};
    const Registered* object = Find(programId);
    if (!object) return {kClassNotRegistered};
    created.push_back(programId);
    std::vector<std::string> texts;
    for (const std::string& name : names) {
      auto it = object->properties.find(sys::FoldedCopy(name));
      texts.push_back(it == object->properties.end() ? std::string() : it->second);
    }
    return {sys::err::kSuccess, std::move(texts)};
  }

  Faults<Op> faults;
  std::vector<std::string> created;  // program identifiers of the objects created

 private:
  const Registered* Find(const std::string& programId) const {
    auto it = objects_.find(sys::FoldedCopy(programId));
    return it == objects_.end() ? nullptr : &it->second;
  }
  std::map<std::string, Registered> objects_;  // by folded program identifier
};

}  // namespace fakes
