#include "fakes/fake_registry.h"

#include "fakes/fake_paths.h"
#include "sys/registry_helpers.h"

namespace fakes {

using sys::Error;
using sys::Hive;
using sys::KeyAccess;
using sys::RegistryView;
using sys::RegValue;

struct FakeRegistry::Key {
  std::string name;
  std::map<std::string, std::unique_ptr<Key>> subKeys;  // folded name -> key, so sorted without case
  std::vector<std::pair<std::string, RegValue>> values;  // in the order first set

  std::pair<std::string, RegValue>* FindValue(const std::string& valueName) {
    for (auto& value : values)
      if (sys::EqualsNoCase(value.first, valueName)) return &value;
    return nullptr;
  }
};

namespace {
std::vector<std::string> SplitKeyPath(const std::string& path) {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path) {
    if (c == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part += c;
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

std::string JoinFolded(const std::vector<std::string>& parts, std::size_t count) {
  std::string joined;
  for (std::size_t i = 0; i < count; ++i) {
    if (i) joined += '\\';
    joined += sys::FoldedCopy(parts[i]);
  }
  return joined;
}

bool Covers(KeyAccess refused, KeyAccess asked) {
  return refused == KeyAccess::Read || asked != KeyAccess::Read;
}
}  // namespace

FakeRegistry::FakeRegistry() : root_(std::make_unique<Key>()) {
  // The keys every machine has.
  Create({"HKEY_CURRENT_USER", "Software"});
  Create({"HKEY_LOCAL_MACHINE", "Software", "Classes"});
  Create({"HKEY_USERS", ".DEFAULT", "Software"});
}

FakeRegistry::~FakeRegistry() = default;

std::vector<std::string> FakeRegistry::Resolve(Hive hive, const std::string& path, RegistryView view) const {
  std::vector<std::string> parts;
  switch (hive) {
    case Hive::CurrentUser: parts = {"HKEY_CURRENT_USER"}; break;
    case Hive::LocalMachine: parts = {"HKEY_LOCAL_MACHINE"}; break;
    case Hive::Users: parts = {"HKEY_USERS"}; break;
    case Hive::ClassesRoot: parts = {"HKEY_LOCAL_MACHINE", "Software", "Classes"}; break;
  }
  for (std::string& part : SplitKeyPath(path)) parts.push_back(std::move(part));
  // The 32-bit view of the machine's software lives under Wow6432Node.
  bool redirect = view == RegistryView::Wow32 && hive == Hive::LocalMachine && parts.size() >= 2 &&
                  sys::EqualsNoCase(parts[1], "Software") &&
                  !(parts.size() >= 3 && sys::EqualsNoCase(parts[2], "Wow6432Node"));
  if (redirect) parts.insert(parts.begin() + 2, "Wow6432Node");
  return parts;
}

FakeRegistry::Key* FakeRegistry::Find(const std::vector<std::string>& parts) const {
  Key* key = root_.get();
  for (const std::string& part : parts) {
    auto it = key->subKeys.find(sys::FoldedCopy(part));
    if (it == key->subKeys.end()) return nullptr;
    key = it->second.get();
  }
  return key;
}

FakeRegistry::Key* FakeRegistry::Create(const std::vector<std::string>& parts) {
  Key* key = root_.get();
  for (const std::string& part : parts) {
    auto& slot = key->subKeys[sys::FoldedCopy(part)];
    if (!slot) {
      slot = std::make_unique<Key>();
      slot->name = part;
    }
    key = slot.get();
  }
  return key;
}

bool FakeRegistry::Refused(const std::vector<std::string>& parts, KeyAccess access) const {
  for (std::size_t count = 1; count <= parts.size(); ++count) {
    auto it = refusals_.find(JoinFolded(parts, count));
    if (it != refusals_.end() && Covers(it->second, access)) return true;
  }
  return false;
}

Error FakeRegistry::Lookup(Hive hive, const std::string& path, RegistryView view, KeyAccess access,
                           Key*& key) const {
  std::vector<std::string> parts = Resolve(hive, path, view);
  key = Find(parts);
  if (!key) return sys::err::kFileNotFound;
  if (Refused(parts, access)) return sys::err::kAccessDenied;
  return sys::err::kSuccess;
}

Error FakeRegistry::CreateKey(Hive hive, const std::string& path, RegistryView view) {
  if (Error e = faults.Check(RegistryOp::CreateKey, path)) return e;
  std::vector<std::string> parts = Resolve(hive, path, view);
  // Creating needs write access to the deepest key that exists already.
  std::size_t existing = 0;
  while (existing < parts.size() && Find({parts.begin(), parts.begin() + existing + 1})) ++existing;
  if (Refused({parts.begin(), parts.begin() + existing}, KeyAccess::Write)) return sys::err::kAccessDenied;
  Create(parts);
  return sys::err::kSuccess;
}

Error FakeRegistry::CreateKeyWithDescriptor(Hive hive, const std::string& path, const std::string& descriptor) {
  if (Error e = faults.Check(RegistryOp::CreateKeyWithDescriptor, path)) return e;
  return IsDescriptorString(descriptor) ? CreateKey(hive, path, RegistryView::Native)
                                        : sys::err::kInvalidSecurityDescriptor;
}

Error FakeRegistry::OpenKey(Hive hive, const std::string& path, KeyAccess access, RegistryView view) {
  if (Error e = faults.Check(RegistryOp::OpenKey, path)) return e;
  Key* key = nullptr;
  return Lookup(hive, path, view, access, key);
}

Error FakeRegistry::DeleteKey(Hive hive, const std::string& path, RegistryView view) {
  if (Error e = faults.Check(RegistryOp::DeleteKey, path)) return e;
  std::vector<std::string> parts = Resolve(hive, path, view);
  Key* key = Find(parts);
  if (!key) return sys::err::kFileNotFound;
  if (parts.size() <= 1 || !key->subKeys.empty() || Refused(parts, KeyAccess::Write)) return sys::err::kAccessDenied;
  Key* parent = Find({parts.begin(), parts.end() - 1});
  parent->subKeys.erase(sys::FoldedCopy(parts.back()));
  return sys::err::kSuccess;
}

sys::Result<RegValue> FakeRegistry::QueryValue(Hive hive, const std::string& path, const std::string& name,
                                               RegistryView view) {
  if (Error e = faults.Check(RegistryOp::QueryValue, path)) return {e};
  Key* key = nullptr;
  if (Error e = Lookup(hive, path, view, KeyAccess::Read, key)) return {e};
  auto* value = key->FindValue(name);
  if (!value) return {sys::err::kFileNotFound};
  return {sys::err::kSuccess, value->second};
}

Error FakeRegistry::SetValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value,
                             RegistryView view) {
  if (Error e = faults.Check(RegistryOp::SetValue, path)) return e;
  Key* key = nullptr;
  if (Error e = Lookup(hive, path, view, KeyAccess::Write, key)) return e;
  if (auto* existing = key->FindValue(name))
    existing->second = value;
  else
    key->values.emplace_back(name, value);
  return sys::err::kSuccess;
}

Error FakeRegistry::DeleteValue(Hive hive, const std::string& path, const std::string& name, RegistryView view) {
  if (Error e = faults.Check(RegistryOp::DeleteValue, path)) return e;
  Key* key = nullptr;
  if (Error e = Lookup(hive, path, view, KeyAccess::Write, key)) return e;
  for (auto it = key->values.begin(); it != key->values.end(); ++it) {
    if (sys::EqualsNoCase(it->first, name)) {
      key->values.erase(it);
      return sys::err::kSuccess;
    }
  }
  return sys::err::kFileNotFound;
}

sys::Result<std::vector<std::string>> FakeRegistry::EnumSubKeys(Hive hive, const std::string& path,
                                                                RegistryView view) {
  if (Error e = faults.Check(RegistryOp::EnumSubKeys, path)) return {e};
  Key* key = nullptr;
  if (Error e = Lookup(hive, path, view, KeyAccess::Read, key)) return {e};
  std::vector<std::string> names;
  for (const auto& sub : key->subKeys) names.push_back(sub.second->name);
  return {sys::err::kSuccess, std::move(names)};
}

sys::Result<std::vector<std::string>> FakeRegistry::EnumValueNames(Hive hive, const std::string& path,
                                                                   RegistryView view) {
  if (Error e = faults.Check(RegistryOp::EnumValueNames, path)) return {e};
  Key* key = nullptr;
  if (Error e = Lookup(hive, path, view, KeyAccess::Read, key)) return {e};
  std::vector<std::string> names;
  for (const auto& value : key->values) names.push_back(value.first);
  return {sys::err::kSuccess, std::move(names)};
}

void FakeRegistry::PutValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value,
                            RegistryView view) {
  Key* key = Create(Resolve(hive, path, view));
  if (auto* existing = key->FindValue(name))
    existing->second = value;
  else
    key->values.emplace_back(name, value);
}

void FakeRegistry::PutString(Hive hive, const std::string& path, const std::string& name, const std::string& text,
                             RegistryView view) {
  PutValue(hive, path, name, sys::StringValue(text), view);
}

void FakeRegistry::PutDword(Hive hive, const std::string& path, const std::string& name, uint32_t value,
                            RegistryView view) {
  PutValue(hive, path, name, sys::DwordValue(value), view);
}

bool FakeRegistry::HasKey(Hive hive, const std::string& path, RegistryView view) const {
  return Find(Resolve(hive, path, view)) != nullptr;
}

std::optional<RegValue> FakeRegistry::ValueOf(Hive hive, const std::string& path, const std::string& name,
                                              RegistryView view) const {
  Key* key = Find(Resolve(hive, path, view));
  if (!key) return std::nullopt;
  auto* value = key->FindValue(name);
  if (!value) return std::nullopt;
  return value->second;
}

std::optional<std::string> FakeRegistry::StringOf(Hive hive, const std::string& path, const std::string& name,
                                                  RegistryView view) const {
  auto value = ValueOf(hive, path, name, view);
  return value ? sys::TextOf(*value) : std::nullopt;
}

std::optional<uint32_t> FakeRegistry::DwordOf(Hive hive, const std::string& path, const std::string& name,
                                              RegistryView view) const {
  auto value = ValueOf(hive, path, name, view);
  return value ? sys::DwordOf(*value) : std::nullopt;
}

void FakeRegistry::RefuseAccess(Hive hive, const std::string& path, KeyAccess refused, RegistryView view) {
  refusals_[JoinFolded(Resolve(hive, path, view), Resolve(hive, path, view).size())] = refused;
}

}  // namespace fakes
