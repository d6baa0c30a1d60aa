#pragma once
// The payroll data conversion as the driver runs it after the loop: the real progress
// record, service control and file placement behind the conversion's steps.

// Converts the payroll data folders when the run allows it: a successful workstation run
// of KS that installed something, for any release but "BSD".
void ConvertPayrollDataAfterRun();
