#pragma once
// The score board's tables, versioned: schema_version holds the version the
// database is at, and each migration after it runs in order, in one
// transaction with the version's update. A database at a newer version than
// this build knows is refused (an older binary must not write to it).
#include "server/store/SqlDatabase.h"

// The version this build migrates databases to.
int LatestSchemaVersion();
// Brings the database to LatestSchemaVersion(); returns the version it was
// at. Throws TSqlError on a newer schema or a failed step.
int MigrateSchema(TSqlDatabase& db);
