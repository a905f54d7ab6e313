// Stand-in for the e-mail program: `Mailsend.exe MOVIE` opens the user's mail program with a new
// message that has the movie attached, through the desktop's xdg-email. The exit status is
// xdg-email's, 2 for a wrong command line, 127 when xdg-email cannot be run.
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: Mailsend.exe MOVIE\n");
        return 2;
    }
    struct stat info {};
    if (stat(argv[1], &info) != 0 || !S_ISREG(info.st_mode)) {
        std::fprintf(stderr, "Mailsend: %s is not a file\n", argv[1]);
        return 2;
    }
    // The environment variable names another mailer command for tests and unusual desktops.
    const char *mailer = std::getenv("LUMIVUE_XDG_EMAIL");
    if (!mailer || !*mailer)
        mailer = "xdg-email";
    const pid_t child = fork();
    if (child < 0)
        return 127;
    if (child == 0) {
        execlp(mailer, mailer, "--attach", argv[1], static_cast<char *>(nullptr));
        std::perror(mailer);
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}
