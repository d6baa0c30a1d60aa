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
  if (sys::Error e = faults.Check(SystemInfoOp::IsWow64Process)) return {e};
  return {sys::err::kSuccess, wow64};
}

sys::Result<sys::RegistryQuota> FakeSystemInfo::QueryRegistryQuota() {
  if (sys::Error e = faults.Check(SystemInfoOp::QueryRegistryQuota)) return {e};
  return {sys::err::kSuccess, registryQuota};
}

sys::Result<uint64_t> FakeSystemInfo::FreeBytesAvailable(const std::string& root) {
  freeSpaceQueries.push_back(root);
  if (sys::Error e = faults.Check(SystemInfoOp::FreeBytesAvailable, root)) return {e};
  for (const auto& [known, bytes] : freeBytesByRoot) {
    if (sys::EqualsNoCase(known, root)) return {sys::err::kSuccess, bytes};
  }
  return {3};  // a volume the machine does not have
}

sys::Result<std::string> FakeSystemInfo::SystemWindowsFolder() {
  if (sys::Error e = faults.Check(SystemInfoOp::SystemWindowsFolder)) return {e};
  return {sys::err::kSuccess, systemWindowsFolder};
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
