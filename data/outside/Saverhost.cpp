// Stand-in for the screen-saver host. A screen saver is this file, the movie's length (32-bit
// big-endian), the movie, and this file's length (32-bit little-endian).
#include "AttachedMovie.h"

namespace {

bool LocateMovie(const std::vector<char> &self, size_t &offset, size_t &length)
{
    if (self.size() < 8)
        return false;
    const size_t host = attached::LittleEndian32(self, self.size() - 4);
    if (host > self.size() - 8)
        return false;
    length = attached::BigEndian32(self, host);
    if (length != self.size() - 8 - host)
        return false;
    offset = host + 4;
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    return attached::Run("Saverhost", argc, argv, LocateMovie);
}
