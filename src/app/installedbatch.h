#pragma once
// What the installation already holds, as far as the driver's decisions need it.

// "CurrentBatch" of section "Batch" of "<installDir>\Bin\Fyndra.ini" as a number; -1 when
// the key is empty or the file is absent (no installation yet).
int InstalledBatch();

// The installation must be removed before it is updated: it lacks "docs\bp.asp" and, for
// the QS2003E, QS2003SE and QK2003 lines, still has "sql\prust.sql"; for NHVW, its
// batch is between 0 and 324.
bool NeedsCleanReinstall();
