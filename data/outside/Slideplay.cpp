// Stand-in for the stand-alone gallery player. A gallery program is this file, the movie, the
// number 0xFA123456 and the movie's length (both 32-bit little-endian).
#include "AttachedMovie.h"

namespace {

bool LocateMovie(const std::vector<char> &self, size_t &offset, size_t &length)
{
    if (self.size() < 8 || attached::LittleEndian32(self, self.size() - 8) != 0xFA123456u)
        return false;
    length = attached::LittleEndian32(self, self.size() - 4);
    if (length > self.size() - 8)
        return false;
    offset = self.size() - 8 - length;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    return attached::Run("Slideplay", argc, argv, LocateMovie);
}
