#pragma once
// The spreadsheet application's start-up and library folders, asked from the application
// itself through its automation object, once per process.

// Fills Places().excelStartFolder and excelLibFolder on the first call; later calls do
// nothing. Both stay empty when the application cannot be created.
void LookUpSpreadsheetFolders();
