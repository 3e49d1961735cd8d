#include "server/store/SqlValue.h"

#include <charconv>

std::int64_t TSqlValue::AsInt() const {
  std::int64_t v = 0;
  if (Kind == TKind::Null) return 0;
  std::from_chars(Data.data(), Data.data() + Data.size(), v);
  return v;
}
