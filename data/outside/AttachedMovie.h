#pragma once
// Shared by the stand-in player and screen-saver host: find the movie attached to this program
// file, write it to a temporary file and hand it to the desktop's program for Flash movies.

#include <cstdint>
#include <string>
#include <vector>

namespace attached {

// The bytes of this program's own file.
std::vector<char> ReadOwnFile();

uint32_t LittleEndian32(const std::vector<char> &bytes, size_t at);
uint32_t BigEndian32(const std::vector<char> &bytes, size_t at);

// Runs the stand-in: `locate` finds the movie (offset and length) in the program's bytes or
// returns false. Arguments: none plays the movie; "--extract PATH" only writes it to PATH.
int Run(const char *programName, int argc, char **argv,
        bool (*locate)(const std::vector<char> &self, size_t &offset, size_t &length));

} // namespace attached
