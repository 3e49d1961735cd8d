#pragma once
// An ordered list of entities walked by index, like every list of the game.
// An owning list (the enemies, the bullets) frees its entities with itself;
// a borrowing list (gravity wells, grid warpers) only points at them.
#include <memory>
#include <vector>

class TBlob;

class TBlobList {
 public:
  TBlobList() = default;
  TBlobList(const TBlobList&) = delete;
  TBlobList& operator=(const TBlobList&) = delete;

  int Count() const { return int(Items.size()); }
  TBlob* operator[](int i) const { return Items[i]; }
  auto begin() const { return Items.begin(); }
  auto end() const { return Items.end(); }

  // Takes ownership and appends; returns the entity.
  TBlob* Adopt(std::unique_ptr<TBlob> blob);
  // Appends a borrowed entity.
  void Add(TBlob* blob) { Items.push_back(blob); }
  // Removes the first occurrence of a borrowed entity; nothing if absent.
  void Remove(TBlob* blob);
  int IndexOf(const TBlob* blob) const;
  void Reserve(int n) { Items.reserve(n); }
  void Clear();

 private:
  std::vector<TBlob*> Items;
  std::vector<std::unique_ptr<TBlob>> Owned;
};
