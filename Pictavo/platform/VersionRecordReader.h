#pragma once
// Reads back the version record that Lumivue binaries carry (CommonModule/VersionRecord).

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The four numbers (major, minor, release, build) of the file's record; nothing for a file
// without one or a file that cannot be read.
std::optional<std::array<uint16_t, 4>> ReadVersionRecord(const QString &path);
