#include "fakes/fake_systeminfo.h"

#include <cctype>

#include "sys/paths.h"

namespace fakes {

namespace {
bool AllDigits(const std::string& text) {
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}
}  // namespace

sys::Result<bool> FakeSystemInfo::IsWow64Process() {
  if (sys::Error e = faults.Check(SystemInfoOp::IsWow64Process)) return sys::Result<bool>::Fail(e);
  return sys::Result<bool>::Ok(wow64);
}

sys::Result<sys::RegistryQuota> FakeSystemInfo::QueryRegistryQuota() {
  if (sys::Error e = faults.Check(SystemInfoOp::QueryRegistryQuota)) return sys::Result<sys::RegistryQuota>::Fail(e);
  return sys::Result<sys::RegistryQuota>::Ok(registryQuota);
}

sys::Result<uint64_t> FakeSystemInfo::FreeBytesAvailable(const std::string& root) {
  freeSpaceQueries.push_back(root);
  if (sys::Error e = faults.Check(SystemInfoOp::FreeBytesAvailable, root)) return sys::Result<uint64_t>::Fail(e);
  for (const auto& [known, bytes] : freeBytesByRoot) {
    if (sys::EqualsNoCase(known, root)) return sys::Result<uint64_t>::Ok(bytes);
  }
  return sys::Result<uint64_t>::Fail(3);  // a volume the machine does not have
}

sys::Result<std::string> FakeSystemInfo::SystemWindowsFolder() {
  if (sys::Error e = faults.Check(SystemInfoOp::SystemWindowsFolder)) return sys::Result<std::string>::Fail(e);
  return sys::Result<std::string>::Ok(systemWindowsFolder);
}

// Groups the whole part by three and pads or cuts the decimals, as a simple locale would.
std::string FakeSystemInfo::FormatNumber(const std::string& number, uint32_t decimals) {
  std::string digits = number;
  bool negative = !digits.empty() && digits[0] == '-';
  if (negative) digits.erase(0, 1);
  std::string whole = digits.substr(0, digits.find('.'));
  std::string fraction = digits.find('.') == std::string::npos ? "" : digits.substr(digits.find('.') + 1);
  if (whole.empty() || !AllDigits(whole) || !AllDigits(fraction)) return number;
  std::string grouped;
  for (std::size_t i = 0; i < whole.size(); ++i) {
    if (i > 0 && (whole.size() - i) % 3 == 0) grouped += thousandSeparator;
    grouped += whole[i];
  }
  fraction.resize(decimals, '0');
  std::string text = negative ? "-" + grouped : grouped;
  if (decimals > 0) text += decimalSeparator + fraction;
  return text;
}

}  // namespace fakes
