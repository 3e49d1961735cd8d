#pragma once
// One value going into or coming out of an SQL statement, the same for every
// database: a text, an integer kept as its decimal text, a blob of bytes, or
// NULL. The score store reads each column as the type it asked for.
#include <cstdint>
#include <string>
#include <vector>

struct TSqlValue {
  enum class TKind : std::uint8_t { Null, Int, Text, Blob };
  TKind Kind = TKind::Null;
  std::string Data;  // Int: decimal text; Text: UTF-8; Blob: raw bytes

  static TSqlValue Null() { return {}; }
  static TSqlValue Int(std::int64_t v) { return {TKind::Int, std::to_string(v)}; }
  static TSqlValue Text(std::string s) { return {TKind::Text, std::move(s)}; }
  static TSqlValue Blob(std::string bytes) { return {TKind::Blob, std::move(bytes)}; }

  bool IsNull() const { return Kind == TKind::Null; }
  // NULL and anything not a number read as 0.
  std::int64_t AsInt() const;
};

using TSqlRow = std::vector<TSqlValue>;
using TSqlRows = std::vector<TSqlRow>;
