// Test entry point for the core libraries. Takes the locale from the
// environment, as the program does, so that a run under a comma-decimal
// locale shows any formatter that depends on it.
#include <clocale>
#include <locale>

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    std::setlocale(LC_ALL, "");
    try {
        std::locale::global(std::locale(""));
    } catch (const std::exception &) {
        // Unknown locale name in the environment: stay with "C".
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
