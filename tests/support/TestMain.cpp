// Test entry point for the core libraries. Takes the locale from the
// environment, as the program does, so that a run under a comma-decimal
// locale shows any formatter that depends on it.
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // A locale the environment names but the system lacks would quietly
    // leave the run in "C" and prove nothing about it.
    const char *requested = std::getenv("LC_ALL");
    if (!std::setlocale(LC_ALL, "") && requested && *requested) {
        std::fprintf(stderr, "The locale %s is not installed.\n", requested);
        return 1;
    }
    try {
        std::locale::global(std::locale(""));
    } catch (const std::exception &) {
        if (requested && *requested) {
            std::fprintf(stderr, "The locale %s is not installed.\n", requested);
            return 1;
        }
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
