#pragma once
// The bank's waves in order, each found by its index or its name.
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sound/WaveCollectionItem.h"

class TWaveList {
 public:
  TWaveCollectionItem& Add(std::string name, bool looped, TWave wave);
  int Count() const { return int(Items.size()); }
  // The item at `index`; out of range is a programming error and throws std::out_of_range.
  TWaveCollectionItem& Item(int index);
  const TWaveCollectionItem& Item(int index) const;
  TWaveCollectionItem* Find(std::string_view name);  // nullptr when absent

  // Loads every item onto the device; the first device error stops and is thrown.
  void Initialize(TSoundDevice& device);
  void Finalize();
  void StopAll();

 private:
  std::vector<std::unique_ptr<TWaveCollectionItem>> Items;
};
