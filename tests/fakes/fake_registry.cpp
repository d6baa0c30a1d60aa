#include "fakes/fake_registry.h"

#include <algorithm>

#include "fakes/fake_paths.h"

namespace fakes {

using sys::Error;
using sys::Hive;
using sys::KeyAccess;
using sys::RegistryView;
using sys::RegValue;

struct FakeRegistry::Key {
  std::string name;
  std::map<std::string, std::unique_ptr<Key>> subKeys;   // folded name -> key, so sorted without case
  std::vector<std::pair<std::string, RegValue>> values;  // in the order first set

  auto FindValue(const std::string& valueName) {
    return std::find_if(values.begin(), values.end(),
                        [&](const auto& value) { return sys::EqualsNoCase(value.first, valueName); });
  }
  void Set(const std::string& valueName, const RegValue& value) {
    if (auto it = FindValue(valueName); it != values.end())
      it->second = value;
    else
      values.emplace_back(valueName, value);
  }
};

namespace {
std::string JoinFolded(const std::vector<std::string>& parts, std::size_t count) {
  std::string joined;
  for (std::size_t i = 0; i < count; ++i) joined += (i ? "\\" : "") + sys::FoldedCopy(parts[i]);
  return joined;
}
}  // namespace

FakeRegistry::FakeRegistry() : root_(std::make_unique<Key>()) {
  // The keys every machine has.
  Create({"HKEY_CURRENT_USER", "Software"});
  Create({"HKEY_LOCAL_MACHINE", "Software", "Classes"});
  Create({"HKEY_USERS", ".DEFAULT", "Software"});
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Parts FakeRegistry::Resolve(Hive hive, const std::string& path, RegistryView view) const {
  Parts parts;
  switch (hive) {
    case Hive::CurrentUser: parts = {"HKEY_CURRENT_USER"}; break;
    case Hive::LocalMachine: parts = {"HKEY_LOCAL_MACHINE"}; break;
    case Hive::Users: parts = {"HKEY_USERS"}; break;
    case Hive::ClassesRoot: parts = {"HKEY_LOCAL_MACHINE", "Software", "Classes"}; break;
  }
  std::size_t start = 0;
  for (std::size_t end; start <= path.size(); start = end + 1) {
    end = std::min(path.find('\\', start), path.size());
    if (end > start) parts.push_back(path.substr(start, end - start));
  }
  // The 32-bit view of the machine's software lives under Wow6432Node.
  bool redirect = view == RegistryView::Wow32 && hive == Hive::LocalMachine && parts.size() >= 2 &&
                  sys::EqualsNoCase(parts[1], "Software") &&
                  !(parts.size() >= 3 && sys::EqualsNoCase(parts[2], "Wow6432Node"));
  if (redirect) parts.insert(parts.begin() + 2, "Wow6432Node");
  return parts;
}

FakeRegistry::Key* FakeRegistry::Find(const Parts& parts) const {
  Key* key = root_.get();
  for (std::size_t i = 0; key && i < parts.size(); ++i) {
    auto it = key->subKeys.find(sys::FoldedCopy(parts[i]));
    key = it == key->subKeys.end() ? nullptr : it->second.get();
  }
  return key;
}

FakeRegistry::Key* FakeRegistry::Create(const Parts& parts) {
  Key* key = root_.get();
  for (const std::string& part : parts) {
    auto& slot = key->subKeys[sys::FoldedCopy(part)];
    if (!slot) slot.reset(new Key{part, {}, {}});
    key = slot.get();
  }
  return key;
}

bool FakeRegistry::Refused(const Parts& parts, KeyAccess access) const {
  for (std::size_t count = 1; count <= parts.size(); ++count) {
    auto it = refusals_.find(JoinFolded(parts, count));
    if (it != refusals_.end() && (it->second == KeyAccess::Read || access != KeyAccess::Read)) return true;
  }
  return false;
}

std::pair<FakeRegistry::Key*, Error> FakeRegistry::Lookup(Hive hive, const std::string& path, RegistryView view,
                                                          KeyAccess access) const {
  Parts parts = Resolve(hive, path, view);
  Key* key = Find(parts);
  if (!key) return {nullptr, sys::err::kFileNotFound};
  return {key, Refused(parts, access) ? sys::err::kAccessDenied : sys::err::kSuccess};
}

Error FakeRegistry::CreateKey(Hive hive, const std::string& path, RegistryView view) {
  if (Error e = faults.Check(RegistryOp::CreateKey, path)) return e;
  Parts parts = Resolve(hive, path, view);
  // Creating needs write access to the deepest key that exists already.
  std::size_t existing = 0;
  while (existing < parts.size() && Find({parts.begin(), parts.begin() + existing + 1})) ++existing;
  if (Refused({parts.begin(), parts.begin() + existing}, KeyAccess::Write)) return sys::err::kAccessDenied;
  Create(parts);
  return sys::err::kSuccess;
}

Error FakeRegistry::CreateKeyWithDescriptor(Hive hive, const std::string& path, const std::string& descriptor) {
  return IsDescriptorString(descriptor) ? CreateKey(hive, path, RegistryView::Native)
                                        : sys::err::kInvalidSecurityDescriptor;
}

Error FakeRegistry::OpenKey(Hive hive, const std::string& path, KeyAccess access, RegistryView view) {
  return Lookup(hive, path, view, access).second;
}

Error FakeRegistry::DeleteKey(Hive hive, const std::string& path, RegistryView view) {
  Parts parts = Resolve(hive, path, view);
  Key* key = Find(parts);
  if (!key) return sys::err::kFileNotFound;
  if (parts.size() <= 1 || !key->subKeys.empty() || Refused(parts, KeyAccess::Write)) return sys::err::kAccessDenied;
  Find({parts.begin(), parts.end() - 1})->subKeys.erase(sys::FoldedCopy(parts.back()));
  return sys::err::kSuccess;
}

Error FakeRegistry::DeleteKeyTree(Hive hive, const std::string& path) {
  Parts parts = Resolve(hive, path, RegistryView::Native);
  if (!Find(parts)) return sys::err::kFileNotFound;
  if (parts.size() <= 1 || Refused(parts, KeyAccess::Write)) return sys::err::kAccessDenied;
  Find({parts.begin(), parts.end() - 1})->subKeys.erase(sys::FoldedCopy(parts.back()));
  return sys::err::kSuccess;
}

Error FakeRegistry::DeleteEmptyKey(Hive hive, const std::string& path) {
  Parts parts = Resolve(hive, path, RegistryView::Native);
  Key* key = Find(parts);
  if (!key) return sys::err::kFileNotFound;
  if (!key->values.empty()) return sys::err::kAccessDenied;
  return DeleteKey(hive, path, RegistryView::Native);
}

sys::Result<RegValue> FakeRegistry::QueryValue(Hive hive, const std::string& path, const std::string& name,
                                               RegistryView view) {
  auto [key, error] = Lookup(hive, path, view, KeyAccess::Read);
  if (error) return {error};
  auto value = key->FindValue(name);
  if (value == key->values.end()) return {sys::err::kFileNotFound};
  return {sys::err::kSuccess, value->second};
}

Error FakeRegistry::SetValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value,
                             RegistryView view) {
  auto [key, error] = Lookup(hive, path, view, KeyAccess::Write);
  if (!error) key->Set(name, value);
  return error;
}

Error FakeRegistry::DeleteValue(Hive hive, const std::string& path, const std::string& name, RegistryView view) {
  auto [key, error] = Lookup(hive, path, view, KeyAccess::Write);
  if (error) return error;
  auto value = key->FindValue(name);
  if (value == key->values.end()) return sys::err::kFileNotFound;
  key->values.erase(value);
  return sys::err::kSuccess;
}

sys::Result<std::vector<std::string>> FakeRegistry::EnumSubKeys(Hive hive, const std::string& path,
                                                                RegistryView view) {
  auto [key, error] = Lookup(hive, path, view, KeyAccess::Read);
  if (error) return {error};
  std::vector<std::string> names;
  for (const auto& sub : key->subKeys) names.push_back(sub.second->name);
  return {sys::err::kSuccess, std::move(names)};
}

sys::Result<std::vector<std::string>> FakeRegistry::EnumValueNames(Hive hive, const std::string& path,
                                                                   RegistryView view) {
  auto [key, error] = Lookup(hive, path, view, KeyAccess::Read);
  if (error) return {error};
  std::vector<std::string> names;
  for (const auto& value : key->values) names.push_back(value.first);
  return {sys::err::kSuccess, std::move(names)};
}

void FakeRegistry::PutValue(Hive hive, const std::string& path, const std::string& name, const RegValue& value) {
  Create(Resolve(hive, path, RegistryView::Native))->Set(name, value);
}

bool FakeRegistry::HasKey(Hive hive, const std::string& path) const {
  return Find(Resolve(hive, path, RegistryView::Native)) != nullptr;
}

std::optional<RegValue> FakeRegistry::ValueOf(Hive hive, const std::string& path, const std::string& name) const {
  Key* key = Find(Resolve(hive, path, RegistryView::Native));
  if (!key || key->FindValue(name) == key->values.end()) return std::nullopt;
  return key->FindValue(name)->second;
}

void FakeRegistry::RefuseAccess(Hive hive, const std::string& path, KeyAccess refused) {
  Parts parts = Resolve(hive, path, RegistryView::Native);
  refusals_[JoinFolded(parts, parts.size())] = refused;
}

}  // namespace fakes
