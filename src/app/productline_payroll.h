#pragma once
// The payroll line (KS): how its own settings say it is configured, and the conversion
// of its data folders that follows a successful installation. The conversion tools,
// INI files and database services are the payroll product's; this program only starts
// the tools with fixed command lines and working folders and waits for each.
#include <functional>
#include <string>

// "OPTIONS" of section "INIT" in "salv.ini" (Windows folder) is set to something.
bool PayrollOptionsSet();
// The payroll product is not installed for several users ("OPTIONS" is not "MULTI").
bool PayrollSingleUser();

// The steps of other stages the conversion uses; the driver passes the real ones
// (progress window, service control, file placement with its retry questions). An
// empty step is skipped.
struct PayrollConversionSteps {
  // Sets the progress window's phase, item and detail lines and repaints.
  std::function<void(const std::string& phase, const std::string& item, const std::string& detail)> showProgress;
  // Stops or starts the database services: "STOP" or "START".
  std::function<void(const std::string& action)> controlDatabaseServer;
  std::function<void(const std::string& from, const std::string& to)> copyFileWithRetry;
  std::function<void(const std::string& path)> deleteFileWithRetry;
  std::function<void(const std::string& path)> createFolder;
};

// Data folders the conversion visits: "rels", then "rels1" to "rels9999".
constexpr long kPayrollDataFolderCount = 10000;

// Converts every payroll data folder with the product's tools (after a successful
// workstation run of KS that installed something, for any release but "BSD").
void RunPayrollDataConversion(const PayrollConversionSteps& steps);
