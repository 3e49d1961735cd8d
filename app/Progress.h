#pragma once
// TProgress: the player's progress, which outlives every game: the best score
// and the highest level reached, kept in the save file, and whether the game
// in progress is the one that holds the best score (its replay is then the
// best one). Another game sharing the folder may keep a better record
// meanwhile: the better of the two always stays.
#include <string>

class TArrange;

class TProgress {
 public:
  explicit TProgress(std::string savePath) : Path(std::move(savePath)) {}

  const std::string& SavePath() const { return Path; }
  int HiScore() const { return Hi; }
  int MaxLevel() const { return Max; }
  bool HoldsHiScore() const { return Holds; }

  // A new game holds no record yet.
  void GameBegins() { Holds = false; }
  // The score in play: a better one is the best score, and this game holds it.
  void ScoreReached(int score) {
    if (score > Hi) Hi = score, Holds = true;
  }
  // A level reached: true when it is a new highest level.
  bool LevelReached(int level) {
    if (level <= Max) return false;
    Max = level;
    return true;
  }
  // Tools: every start level may be chosen.
  void OpenEveryLevel(int levels) { Max = levels; }

  // The save file: read it (nothing there is a record of 0 and level 1);
  // write the record unless the file already holds it or a better one;
  // whether the record moved on since the file was last read or written.
  void Load();
  void Save();
  bool Changed() const { return Hi != SavedHi || Max != SavedMax; }
  // Reads the file again and takes its record where it is better; false when
  // the file holds none.
  bool TakeBetterSavedRecord();

  // While a replay is watched its scores are not the player's: the record as
  // it stood, put back once it ends.
  struct TKept {
    int Hi = 0, Max = 1;
  };
  TKept Keep() const { return TKept{Hi, Max}; }
  void PutBack(const TKept& kept) { Hi = kept.Hi, Max = kept.Max; }

 private:
  friend class TArrange;  // tests set up a record to beat, or levels opened

  std::string Path;
  int Hi = 0, Max = 1;
  // The record as the file was last read or written.
  int SavedHi = 0, SavedMax = 1;
  bool Holds = false;
};
