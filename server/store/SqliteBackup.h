#pragma once
// A copy of a live SQLite score board, taken with SQLite's online backup
// API: consistent even while the service writes to it.
#include <string>

// False with the reason when it cannot.
bool BackUpSqlite(const std::string& from, const std::string& to, std::string& why);
