#include "entities/blobList.h"

#include "entities/blob.h"

TBlob* TBlobList::Adopt(std::unique_ptr<TBlob> blob) {
  TBlob* raw = blob.get();
  Owned.push_back(std::move(blob));
  Items.push_back(raw);
  return raw;
}

void TBlobList::Remove(TBlob* blob) {
  int i = IndexOf(blob);
  if (i >= 0) Items.erase(Items.begin() + i);
}

int TBlobList::IndexOf(const TBlob* blob) const {
  for (int i = 0; i < Count(); ++i)
    if (Items[i] == blob) return i;
  return -1;
}

void TBlobList::Clear() {
  Items.clear();
  Owned.clear();
}
