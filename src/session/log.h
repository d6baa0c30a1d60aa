#pragma once
#include <functional>
// The string loader, the log writer and the logged message box: every text the user
// sees comes from the string table, and every message and its answer goes to the log.
#include <cstdint>
#include <string>

#include "sys/desktop.h"

// String-table entry `id` of the program's own resources; empty when absent.
std::string LoadText(uint32_t id);

// printf-formats and appends to `target`; returns `target`.
std::string& AppendFormat(std::string& target, const char* format, ...) __attribute__((format(printf, 2, 3)));

// printf-formats one line (at most 999 bytes) and appends it with CR LF to "Plandrix.log".
// Safe from both threads: a line is never torn.
void WriteLog(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Logs `text`, shows the box (or, in a silent run, takes `defaultAnswer`) and logs the
// answer unless the box is a plain OK box. Returns the answer (sys::answer::…).
int LoggedMessageBox(sys::WindowId owner, const std::string& text, const std::string& caption, uint32_t type,
                     int defaultAnswer);

// The current local time as "DD-MM-YYYY hh:mm:ss".
std::string LocalTimeText();

// Writes the settings summary that opens an update run's log.
void LogSettingsSummary();

// Closes the log (the driver, at exit; tests, between cases). A line written after it
// reopens the log and appends.
void CloseLog();
// Closes the log; the next line starts a new one, truncating it (a new process, a test).
void StartNewLog();
// Runs `removal`, which may delete the folder the log lies in (the uninstall before a
// clean reinstall), and keeps this run's lines: they are written back into a folder of
// the same place, where later lines follow them.
void KeepLogThrough(const std::function<void()>& removal);

// Message box types used across the program.
namespace mb {
constexpr uint32_t kOk = 0x0;
constexpr uint32_t kOkCancel = 0x1;
constexpr uint32_t kAbortRetryIgnore = 0x2;
constexpr uint32_t kYesNoCancel = 0x3;
constexpr uint32_t kYesNo = 0x4;
constexpr uint32_t kRetryCancel = 0x5;
constexpr uint32_t kIconStop = 0x10;
constexpr uint32_t kIconQuestion = 0x20;
constexpr uint32_t kIconExclamation = 0x30;
constexpr uint32_t kIconInformation = 0x40;
constexpr uint32_t kSetForeground = 0x10000;
}  // namespace mb
