// Writes each argument it was given to stdout, NUL-terminated, so a test can see exactly
// what arrived.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i)
        std::fwrite(argv[i], 1, std::strlen(argv[i]) + 1, stdout);
    return 0;
}
