#include "AttachedMovie.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace attached {

namespace {

// Shared MIME names of Flash movies, current and older.
const char *const MovieTypes[] = {"application/vnd.adobe.flash.movie", "application/x-shockwave-flash"};

std::string CommandOutput(const std::string &command)
{
    std::string output;
    if (FILE *pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            output += buffer;
        pclose(pipe);
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == ' '))
        output.pop_back();
    return output;
}

bool DesktopPlaysMovies()
{
    for (const char *type : MovieTypes)
        if (!CommandOutput(std::string("xdg-mime query default ") + type + " 2>/dev/null").empty())
            return true;
    return false;
}

bool WriteMovie(const std::string &path, const std::vector<char> &self, size_t offset, size_t length)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(self.data() + offset, static_cast<std::streamsize>(length));
    return static_cast<bool>(out.flush());
}

std::string QuoteForShell(const std::string &text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

std::vector<char> ReadOwnFile()
{
    std::ifstream in("/proc/self/exe", std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t LittleEndian32(const std::vector<char> &bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

uint32_t BigEndian32(const std::vector<char> &bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

int Run(const char *programName, int argc, char **argv,
        bool (*locate)(const std::vector<char> &self, size_t &offset, size_t &length))
{
    const std::vector<char> self = ReadOwnFile();
    size_t offset = 0;
    size_t length = 0;
    if (!locate(self, offset, length)) {
        std::cerr << programName << ": no gallery movie is attached to this program.\n";
        return 1;
    }
    if (argc == 3 && std::strcmp(argv[1], "--extract") == 0) {
        if (WriteMovie(argv[2], self, offset, length))
            return 0;
        std::cerr << programName << ": cannot write " << argv[2] << ".\n";
        return 1;
    }
    const char *tmp = std::getenv("TMPDIR");
    std::string path = std::string(tmp && *tmp ? tmp : "/tmp") + "/gallery-XXXXXX.swf";
    const int fd = mkstemps(path.data(), 4);
    if (fd < 0 || close(fd) != 0 || !WriteMovie(path, self, offset, length)) {
        std::cerr << programName << ": cannot write the gallery movie to a temporary file.\n";
        return 1;
    }
    if (!DesktopPlaysMovies()) {
        std::cerr << programName << ": no program for Flash movies (.swf) is set up on this desktop.\n"
                  << "The gallery movie was saved as " << path << "; open it with a Flash movie player.\n";
        return 1;
    }
    if (std::system(("xdg-open " + QuoteForShell(path)).c_str()) != 0) {
        std::cerr << programName << ": the desktop could not open " << path << ".\n";
        return 1;
    }
    return 0;
}

} // namespace attached
