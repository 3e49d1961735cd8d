#include "app/Progress.h"

#include <cstdint>

#include "app/SaveFile.h"

void TProgress::Load() {
  std::int32_t hi = 0, max = 1;
  SaveFile::LoadGame(Path, hi, max);
  Hi = SavedHi = hi;
  Max = SavedMax = max;
}

void TProgress::Save() {
  if (TakeBetterSavedRecord() && Hi == SavedHi && Max == SavedMax) return;
  // Marked saved only once it is on disk: a failed write (a full disk) is
  // tried again at the next save point and at the end.
  if (!SaveFile::SaveGame(Path, Hi, Max)) return;
  SavedHi = Hi;
  SavedMax = Max;
}

bool TProgress::TakeBetterSavedRecord() {
  std::int32_t hi = 0, max = 1;
  if (!SaveFile::ReadSavedRecord(Path, hi, max)) return false;
  if (hi > Hi) Hi = hi, Holds = false;
  if (max > Max) Max = max;
  SavedHi = hi;
  SavedMax = max;
  return true;
}
