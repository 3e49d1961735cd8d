#include "sound/WaveList.h"

#include <stdexcept>
#include <utility>

TWaveCollectionItem& TWaveList::Add(std::string name, bool looped, TWave wave) {
  Items.push_back(std::make_unique<TWaveCollectionItem>(std::move(name), looped, std::move(wave)));
  return *Items.back();
}

TWaveCollectionItem& TWaveList::Item(int index) { return *Items.at(size_t(index)); }

const TWaveCollectionItem& TWaveList::Item(int index) const { return *Items.at(size_t(index)); }

TWaveCollectionItem* TWaveList::Find(std::string_view name) {
  for (auto& item : Items)
    if (item->Name == name) return item.get();
  return nullptr;
}

void TWaveList::Initialize(TSoundDevice& device) {
  for (auto& item : Items) item->Initialize(device);
}

void TWaveList::Finalize() {
  for (auto& item : Items) item->Finalize();
}

void TWaveList::StopAll() {
  for (auto& item : Items) item->Stop();
}
