#include "fakes/fake_automation.h"

#include "sys/paths.h"

namespace fakes {

namespace {
// REGDB_E_CLASSNOTREG, as CLSIDFromProgID and CoCreateInstance report it.
constexpr sys::Error kClassNotRegistered = 0x80040154;
}  // namespace

void FakeAutomation::Register(const std::string& programId, Registered object) {
  Registered folded = std::move(object);
  std::map<std::string, std::string> properties;
  for (auto& [name, value] : folded.properties) properties[sys::FoldedCopy(name)] = value;
  folded.properties = std::move(properties);
  objects_[sys::FoldedCopy(programId)] = std::move(folded);
}

const FakeAutomation::Registered* FakeAutomation::Find(const std::string& programId) const {
  auto it = objects_.find(sys::FoldedCopy(programId));
  return it == objects_.end() ? nullptr : &it->second;
}

sys::Result<std::string> FakeAutomation::ClassIdOf(const std::string& programId) {
  if (sys::Error e = faults.Check(Op::ClassIdOf, programId)) return {e};
  const Registered* object = Find(programId);
  if (object == nullptr) return {kClassNotRegistered};
  return {sys::err::kSuccess, object->classId};
}

sys::Result<std::vector<std::string>> FakeAutomation::ReadStringProperties(const std::string& programId,
                                                                           const std::vector<std::string>& names) {
  if (sys::Error e = faults.Check(Op::Create, programId)) return {e};
  const Registered* object = Find(programId);
  if (object == nullptr) return {kClassNotRegistered};
  created.push_back(programId);
  std::vector<std::string> texts;
  for (const std::string& name : names) {
    auto it = object->properties.find(sys::FoldedCopy(name));
    texts.push_back(it == object->properties.end() ? std::string() : it->second);
  }
  return {sys::err::kSuccess, std::move(texts)};
}

}  // namespace fakes
